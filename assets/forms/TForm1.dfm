object Form1: TForm1
  Left = 480
  Top = -80
  Width = 132
  Height = 90
  BorderIcons = []
  Caption = 'Mubo'
  Color = clBtnFace
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'ＭＳ Ｐゴシック'
  Font.Style = []
  FormStyle = fsStayOnTop
  Position = poDesigned
  OnCreate = FormCreate
  object Rgn1: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Mubo/Rgn1.bmp'
    RgnData = file 'Mubo/Rgn1.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn2: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Mubo/Rgn2.bmp'
    RgnData = file 'Mubo/Rgn2.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn3: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Mubo/Rgn3.bmp'
    RgnData = file 'Mubo/Rgn3.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn4: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Mubo/Rgn4.bmp'
    RgnData = file 'Mubo/Rgn4.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn5: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Mubo/Rgn5.bmp'
    RgnData = file 'Mubo/Rgn5.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn6: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Mubo/Rgn6.bmp'
    RgnData = file 'Mubo/Rgn6.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn7: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Mubo/Rgn7.bmp'
    RgnData = file 'Mubo/Rgn7.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn8: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Mubo/Rgn8.bmp'
    RgnData = file 'Mubo/Rgn8.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn9: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Mubo/Rgn9.bmp'
    RgnData = file 'Mubo/Rgn9.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn10: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Mubo/Rgn10.bmp'
    RgnData = file 'Mubo/Rgn10.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn11: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Mubo/Rgn11.bmp'
    RgnData = file 'Mubo/Rgn11.rgn'
    PopupMenu = PopupMenu1
    OnClick = Rgn1Click
  end
  object Rgn12: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Mubo/Rgn12.bmp'
    RgnData = file 'Mubo/Rgn12.rgn'
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
