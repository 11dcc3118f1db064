object frmTest: TTestForm
  Caption = 'Scrivane V2.0 [ '#22825#29483'/'#$6DD8#23453 +
    ' ] It''s'
  Left = -12
  Width = 1424
  Big = 81985529216486895
  Color = clRed
  Tag = $FF00FF
  Ratio = 1.25
  Alignment = taCenter
  Visible = False
  Font.Name = '宋体'
  Font.Size = -11
  Font.Style = [fsBold, fsUnderline]
  Lines.Strings = (
    'first'
    '第二'
    ''
    'long ' +
      'line')
  SkinStream = {
    03000000 0A0B0C}
  Extra = (1 -2 $10)
  Items = <
    item
      Caption = 'one'
      Target = btn2
      Data = {0200000001FF}
    end
    item
      Width = 0
    end>
  PopupMenu = pm1
  OnClick = btn2Click
  object pnl1: TTestControl
    Left = $FFFFFFFF
    Width = 142
    Ratio = 2.5e-3
    object btn2: TTestControl
      Caption = 'OK'
      OnClick = btn2Click
      PopupMenu = pm1
    end
  end
  object pm1: TTestMenu
    Tag = 3
  end
end
