object RegionTestForm: TRegionTestForm
  Left = 100
  Top = 100
  Width = 80
  Height = 70
  BorderIcons = []
  Caption = 'Region'
  Color = clWhite
  FormStyle = fsStayOnTop
  object Btn1: TRgnBtn
    Left = 50
    Top = 30
    Width = 24
    Height = 32
    Glyph1.Data = bitmap 'Tesk/Rgn4.bmp'
    Glyph2.Data = bitmap 'Tesk/Rgn5.bmp'
    RgnData = file 'Tesk/Rgn4.rgn'
  end
  object Rgn1: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    Cursor = crHandPoint
    RgnBitmap.Data = bitmap 'Mubo/Rgn1.bmp'
    RgnData = file 'Mubo/Rgn1.rgn'
    OnClick = FrameClick
  end
  object Rgn2: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    RgnBitmap.Data = bitmap 'Mubo/Rgn4.bmp'
    RgnData = file 'Mubo/Rgn4.rgn'
    OnClick = FrameClick
  end
  object Rgn3: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    RgnBitmap.Data = bitmap 'Mubo/Rgn7.bmp'
    RgnData = file 'Mubo/Rgn7.rgn'
  end
  object Rgn4: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    RgnBitmap.Data = bitmap 'Mubo/Rgn10.bmp'
    RgnData = file 'Mubo/Rgn7.rgn'
  end
  object RgnList1: TRgnList
  end
end
