object frmResource: TTestForm
  Caption = '天猫/淘宝'
  object btnOk: TTestControl
    Caption = 'OK'
    OnClick = btn2Click
  end
end
