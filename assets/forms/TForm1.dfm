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
end
