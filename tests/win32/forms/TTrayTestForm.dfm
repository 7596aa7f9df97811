object TrayTestForm: TTrayTestForm
  Left = 300
  Top = 200
  Width = 220
  Height = 120
  Caption = 'トレイ試験'
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
      OnClick = ItemClick
    end
    object N3: TMenuItem
      Caption = '-'
    end
    object N2: TMenuItem
      Caption = 'インフォメーション(&I)...'
      OnClick = ItemClick
    end
    object N4: TMenuItem
      Caption = '-'
    end
    object N1: TMenuItem
      Caption = '終了する(&X)'
      OnClick = ItemClick
    end
  end
end
