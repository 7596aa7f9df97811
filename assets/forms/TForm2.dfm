object Form2: TForm2
  Left = 550
  Top = -50
  Width = 132
  Height = 74
  BorderIcons = []
  Caption = 'Tesk'
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
    RgnBitmap.Data = bitmap 'Tesk/Rgn1.bmp'
    RgnData = file 'Tesk/Rgn1.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn2: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Tesk/Rgn2.bmp'
    RgnData = file 'Tesk/Rgn2.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn3: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Tesk/Rgn3.bmp'
    RgnData = file 'Tesk/Rgn3.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn4: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Tesk/Rgn4.bmp'
    RgnData = file 'Tesk/Rgn4.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn5: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Tesk/Rgn5.bmp'
    RgnData = file 'Tesk/Rgn5.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn6: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Tesk/Rgn6.bmp'
    RgnData = file 'Tesk/Rgn6.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn7: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Tesk/Rgn7.bmp'
    RgnData = file 'Tesk/Rgn7.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn8: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Tesk/Rgn8.bmp'
    RgnData = file 'Tesk/Rgn8.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn9: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Tesk/Rgn9.bmp'
    RgnData = file 'Tesk/Rgn9.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn10: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Tesk/Rgn10.bmp'
    RgnData = file 'Tesk/Rgn10.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn11: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Tesk/Rgn11.bmp'
    RgnData = file 'Tesk/Rgn11.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn12: TRgn
    Left = 0
    Top = 0
    Width = 24
    Height = 32
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Tesk/Rgn12.bmp'
    RgnData = file 'Tesk/Rgn12.rgn'
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
