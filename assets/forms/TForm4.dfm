object Form4: TForm4
  Left = 0
  Top = 680
  Width = 132
  Height = 69
  BorderIcons = []
  Caption = 'Quarn'
  Color = clBtnFace
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'ＭＳ Ｐゴシック'
  Font.Style = []
  FormStyle = fsStayOnTop
  Position = poDesigned
  object Rgn1: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Quarn/Rgn1.bmp'
    RgnData = file 'Quarn/Rgn1.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn2: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Quarn/Rgn2.bmp'
    RgnData = file 'Quarn/Rgn2.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn3: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Quarn/Rgn3.bmp'
    RgnData = file 'Quarn/Rgn3.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn4: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Quarn/Rgn4.bmp'
    RgnData = file 'Quarn/Rgn4.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn5: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Quarn/Rgn5.bmp'
    RgnData = file 'Quarn/Rgn5.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn6: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Quarn/Rgn6.bmp'
    RgnData = file 'Quarn/Rgn6.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn7: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Quarn/Rgn7.bmp'
    RgnData = file 'Quarn/Rgn7.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn8: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Quarn/Rgn8.bmp'
    RgnData = file 'Quarn/Rgn8.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn9: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Quarn/Rgn9.bmp'
    RgnData = file 'Quarn/Rgn9.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn10: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Quarn/Rgn10.bmp'
    RgnData = file 'Quarn/Rgn10.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn11: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Quarn/Rgn11.bmp'
    RgnData = file 'Quarn/Rgn11.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn12: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Quarn/Rgn12.bmp'
    RgnData = file 'Quarn/Rgn12.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object RgnList1: TRgnList
  end
  object Timer1: TTimer
    Interval = 50
    OnTimer = Timer1Timer
  end
  object PopupMenu1: TPopupMenu
    object N1: TMenuItem
      Caption = '設定ウィンドウを開く(&S)...'
      OnClick = N1Click
    end
  end
end
