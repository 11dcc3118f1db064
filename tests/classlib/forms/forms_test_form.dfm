object DescribedForm: TTestDescribedForm
  Left = 40
  Top = 30
  Caption = '描述的窗体'
  ClientWidth = 320
  ClientHeight = 200
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'Tahoma'
  Position = poScreenCenter
  ShowHint = True
  OnCreate = FormCreate
  OnClose = FormClose
  object pnlTop: TTestPanel
    Left = 0
    Top = 0
    Width = 100
    Height = 30
    Align = alTop
    Caption = 'top'
    OnClick = pnlTopClick
  end
  object pnlBody: TTestPanel
    Left = 0
    Top = 30
    Width = 320
    Height = 170
    Align = alClient
    Color = clWhite
    object pnlInner: TTestPanel
      Left = 10
      Top = 10
      Width = 50
      Height = 20
      Hint = 'inner'
    end
  end
  object tmr1: TTimer
    Interval = 250
    OnTimer = tmr1Timer
  end
end
