object Form3: TForm3
  Left = 410
  Top = -50
  Width = 132
  Height = 67
  BorderIcons = []
  Caption = 'Plim'
  Color = clBtnFace
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'ＭＳ Ｐゴシック'
  Font.Style = []
  FormStyle = fsStayOnTop
  Position = poDesigned
end
