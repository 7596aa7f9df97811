object TestForm: TTestForm
  Left = 200
  Top = 150
  Width = 240
  Height = 160
  BorderIcons = []
  Caption = 'テスト窓'
  FormStyle = fsStayOnTop
  object First: TRecorder
    OnFire = Fire
    Number = 1
    Text = 'first'
    Buddy = Second
    Flag = False
  end
  object Second: TRecorder
    Kind = kB
    Number = 2
  end
  object BoomTimer: TTimer
    Enabled = False
    Interval = 20
    OnTimer = Boom
  end
end
