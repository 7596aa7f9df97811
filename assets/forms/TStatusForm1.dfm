object StatusForm1: TStatusForm1
  Left = 20
  Top = 20
  Width = 350
  Height = 350
  BorderIcons = []
  BorderStyle = bsNone
  Caption = '設定ウィンドウ'
  Color = clBtnFace
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'ＭＳ Ｐゴシック'
  Font.Style = []
  FormStyle = fsStayOnTop
  Position = poDesigned
  OnShow = FormShow
  object Image1: TImage
    Left = 0
    Top = 0
    Width = 350
    Height = 350
    AutoSize = True
    Picture.Data = bitmap 'pictures/Background.bmp'
  end
  object Label2: TLabel
    Left = 29
    Top = 35
    Caption = 'Odvik'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = $00282828
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label3: TLabel
    Left = 65
    Top = 62
    Caption = 'Launch!'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = $00232323
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Label7: TLabel
    Left = 65
    Top = 134
    Caption = 'Launch!'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = $00232323
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Label9: TLabel
    Left = 65
    Top = 206
    Caption = 'Launch!'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = $00232323
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Label11: TLabel
    Left = 65
    Top = 278
    Caption = 'Launch!'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = $00232323
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Label12: TLabel
    Left = 29
    Top = 107
    Caption = 'Sefra'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = $00282828
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label13: TLabel
    Left = 29
    Top = 179
    Caption = 'Lintu'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = $00282828
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label14: TLabel
    Left = 29
    Top = 251
    Caption = 'Zemm'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = $00282828
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Shape5: TShape
    Left = 107
    Top = 61
    Width = 232
    Height = 18
    Brush.Color = $00282828
    Pen.Style = psClear
  end
  object Shape7: TShape
    Left = 107
    Top = 133
    Width = 232
    Height = 18
    Brush.Color = $00282828
    Pen.Style = psClear
  end
  object Shape9: TShape
    Left = 107
    Top = 205
    Width = 232
    Height = 18
    Brush.Color = $00282828
    Pen.Style = psClear
  end
  object Shape11: TShape
    Left = 107
    Top = 277
    Width = 232
    Height = 18
    Brush.Color = $00282828
    Pen.Style = psClear
  end
  object Label18: TLabel
    Left = 28
    Top = 34
    Caption = 'Odvik'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWhite
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label19: TLabel
    Left = 28
    Top = 106
    Caption = 'Sefra'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWhite
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label20: TLabel
    Left = 28
    Top = 178
    Caption = 'Lintu'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = $00FAFAFA
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label21: TLabel
    Left = 28
    Top = 250
    Caption = 'Zemm'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWhite
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label23: TLabel
    Left = 73
    Top = 332
    Caption = '『キャラを選択して，立ち上げるファイルをドロップ♪』'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = $00282828
    Font.Height = -11
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label22: TLabel
    Left = 72
    Top = 331
    Caption = '『キャラを選択して，立ち上げるファイルをドロップ♪』'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWhite
    Font.Height = -11
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label4: TLabel
    Left = 71
    Top = 6
    Caption = 'Launcher Tivolu! ～Quillet～'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clBlack
    Font.Height = -11
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Label15: TLabel
    Left = 70
    Top = 5
    Caption = 'Launcher Tivolu! ～Quillet～'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWhite
    Font.Height = -11
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Label1: TLabel
    Left = 64
    Top = 61
    Caption = 'Launch!'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWhite
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Label5: TLabel
    Left = 64
    Top = 133
    Caption = 'Launch!'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWhite
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Label8: TLabel
    Left = 64
    Top = 205
    Caption = 'Launch!'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWhite
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Label10: TLabel
    Left = 64
    Top = 277
    Caption = 'Launch!'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWhite
    Font.Height = -12
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Edit1: TEdit
    Left = 104
    Top = 58
    Width = 232
    Height = 18
    Cursor = crDefault
    Hint = 'ラウンチファイル'
    AutoSize = False
    Color = $00CAFFFF
    Ctl3D = False
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clBlack
    Font.Height = -11
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    ParentShowHint = False
    ReadOnly = True
    ShowHint = True
    TabOrder = 0
  end
  object Edit3: TEdit
    Left = 104
    Top = 130
    Width = 232
    Height = 18
    Cursor = crDefault
    Hint = 'ラウンチファイル'
    AutoSize = False
    Color = $00DDDDFF
    Ctl3D = False
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clBlack
    Font.Height = -11
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    ParentShowHint = False
    ReadOnly = True
    ShowHint = True
    TabOrder = 1
  end
  object Edit5: TEdit
    Left = 104
    Top = 202
    Width = 232
    Height = 18
    Cursor = crDefault
    Hint = 'ラウンチファイル'
    AutoSize = False
    Color = clWhite
    Ctl3D = False
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clBlack
    Font.Height = -11
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    ParentShowHint = False
    ReadOnly = True
    ShowHint = True
    TabOrder = 2
  end
  object Edit7: TEdit
    Left = 104
    Top = 274
    Width = 232
    Height = 18
    Cursor = crDefault
    Hint = 'ラウンチファイル'
    AutoSize = False
    Color = $00FFFFDF
    Ctl3D = False
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clBlack
    Font.Height = -11
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ParentFont = False
    ParentShowHint = False
    ReadOnly = True
    ShowHint = True
    TabOrder = 3
  end
  object CheckBox1: TdxfCheckBox
    Left = 12
    Top = 34
    Width = 13
    Height = 13
    Cursor = crHandPoint
    Hint = 'キャラの表示/非表示'
    Checked = True
    AutoSize = False
    GroupIndex = 0
    ParentShowHint = False
    ShowHint = True
    TabOrder = 4
    OnClick = CheckBox1Click
  end
  object Panel1: TPanel
    Left = 4
    Top = 2
    Width = 53
    Height = 16
    BevelOuter = bvNone
    TabOrder = 5
    object Image2: TImage
      Left = 0
      Top = 0
      Width = 53
      Height = 16
      Cursor = crHandPoint
      Hint = 'インフォメーション'
      AutoSize = True
      ParentShowHint = False
      Picture.Data = bitmap 'pictures/InfoButton.bmp'
      ShowHint = True
      OnClick = Image2Click
    end
  end
  object Panel2: TPanel
    Left = 240
    Top = 2
    Width = 24
    Height = 17
    BevelOuter = bvNone
    TabOrder = 6
    object Image3: TImage
      Left = 0
      Top = 0
      Width = 24
      Height = 17
      Cursor = crHandPoint
      Hint = 'キャラの選択'
      AutoSize = True
      ParentShowHint = False
      Picture.Data = bitmap 'pictures/NextButton.bmp'
      ShowHint = True
      OnClick = Image3Click
    end
  end
  object Panel3: TPanel
    Left = 270
    Top = 2
    Width = 24
    Height = 18
    BevelOuter = bvNone
    TabOrder = 7
    object Image4: TImage
      Left = 0
      Top = 0
      Width = 24
      Height = 18
      Cursor = crHandPoint
      Hint = 'キャラの選択'
      AutoSize = True
      ParentShowHint = False
      Picture.Data = bitmap 'pictures/PreviousButton.bmp'
      ShowHint = True
      OnClick = Image4Click
    end
  end
  object Panel4: TPanel
    Left = 306
    Top = 2
    Width = 37
    Height = 16
    BevelOuter = bvNone
    TabOrder = 8
    object Image5: TImage
      Left = 0
      Top = 0
      Width = 37
      Height = 16
      Cursor = crHandPoint
      Hint = '閉じる'
      AutoSize = True
      ParentShowHint = False
      Picture.Data = bitmap 'pictures/CloseButton.bmp'
      ShowHint = True
      OnClick = Image5Click
    end
  end
  object CheckBox2: TdxfCheckBox
    Left = 12
    Top = 106
    Width = 13
    Height = 13
    Cursor = crHandPoint
    Hint = 'キャラの表示/非表示'
    Checked = True
    AutoSize = False
    GroupIndex = 0
    ParentShowHint = False
    ShowHint = True
    TabOrder = 9
    OnClick = CheckBox2Click
  end
  object CheckBox3: TdxfCheckBox
    Left = 12
    Top = 177
    Width = 13
    Height = 13
    Cursor = crHandPoint
    Hint = 'キャラの表示/非表示'
    Checked = True
    AutoSize = False
    GroupIndex = 0
    ParentShowHint = False
    ShowHint = True
    TabOrder = 10
    OnClick = CheckBox3Click
  end
  object CheckBox4: TdxfCheckBox
    Left = 12
    Top = 249
    Width = 13
    Height = 13
    Cursor = crHandPoint
    Hint = 'キャラの表示/非表示'
    Checked = True
    AutoSize = False
    GroupIndex = 0
    ParentShowHint = False
    ShowHint = True
    TabOrder = 11
    OnClick = CheckBox4Click
  end
  object ImageList1: TImageList
    Width = 48
    Height = 48
    BkColor = clWhite
    Masked = False
    Bitmap.Data = bitmap 'pictures/Portraits.bmp'
  end
  object TrayIcon1: TTrayIcon
    Active = False
    Icon.Data = file 'pictures/TrayIcon.ico'
    ShowMinimizedIcon = True
    PopupMenu = PopupMenu1
    OnDblClick = TrayIcon1DblClick
  end
  object PopupMenu1: TPopupMenu
    object S1: TMenuItem
      Caption = '設定ウィンドウを開く(&S)...'
      OnClick = S1Click
    end
    object N3: TMenuItem
      Caption = '-'
    end
    object N2: TMenuItem
      Caption = 'インフォメーション(&I)...'
      OnClick = N2Click
    end
    object N4: TMenuItem
      Caption = '-'
    end
    object N1: TMenuItem
      Caption = '終了する(&X)'
      OnClick = N1Click
    end
  end
end
