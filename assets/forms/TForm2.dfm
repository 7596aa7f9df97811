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
end
