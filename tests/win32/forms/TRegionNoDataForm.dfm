object RegionNoDataForm: TRegionNoDataForm
  object Rgn1: TRgn
    Left = 0
    Top = 0
    Width = 46
    Height = 56
    RgnBitmap.Data = bitmap 'Mubo/Rgn1.bmp'
    RgnData = {}
  end
end
