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
end
