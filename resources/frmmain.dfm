object frmmain: Tfrmmain
  Left = 0
  Top = 0
  Caption = 'Scrivane V2.0 [ 天猫/淘宝店通用 ]'
  ClientHeight = 931
  ClientWidth = 1424
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Menu = mm1
  Position = poDesktopCenter
  ShowHint = True
  OnClose = FormClose
  OnCreate = FormCreate
  object pnl1: TPanel
    Left = 0
    Top = 0
    Width = 1424
    Height = 9
    Align = alTop
    BevelOuter = bvNone
  end
  object pnl37: TPanel
    Left = 0
    Top = 901
    Width = 1424
    Height = 30
    Align = alBottom
    BevelOuter = bvLowered
    object lbl1: TLabel
      Left = 10
      Top = 8
      Caption = '当前操作的版块名称：'
    end
    object lblname: TLabel
      Left = 130
      Top = 8
      Caption = '版块名称'
    end
    object lbl2: TLabel
      Left = 1290
      Top = 8
      Caption = '首页刷新倒计时：'
      Anchors = [akTop, akRight]
      Font.Color = clSilver
      ParentFont = False
    end
    object lbl46: TLabel
      Left = 1390
      Top = 8
      Anchors = [akTop, akRight]
      Caption = '20'
      Font.Color = clSilver
      ParentFont = False
    end
  end
  object pnl2: TPanel
    Left = 0
    Top = 9
    Width = 142
    Height = 892
    Align = alLeft
    BevelOuter = bvNone
    object rg1: TRadioGroup
      Left = 0
      Top = 0
      Width = 142
      Height = 48
      Align = alTop
      Caption = '店铺类型'
      Columns = 2
      Items.Strings = (
        '淘宝店'
        '天猫店')
      ItemIndex = 0
      OnClick = rg1Click
    end
    object pnl32: TPanel
      Left = 0
      Top = 48
      Width = 142
      Height = 26
      Align = alTop
      Alignment = taLeftJustify
      BevelOuter = bvNone
      BorderWidth = 8
      Caption = '◇ 头部版块'
      Font.Style = [fsBold]
      ParentFont = False
    end
    object btnguanlian: TSpeedButton
      Left = 0
      Top = 74
      Width = 142
      Height = 41
      Align = alTop
      Caption = '关联销售'
      Flat = True
      OnClick = btnguanlianClick
    end
    object pnlgap1: TPanel
      Left = 0
      Top = 115
      Width = 142
      Height = 5
      Align = alTop
      BevelOuter = bvNone
    end
    object btnfengetiao: TSpeedButton
      Left = 0
      Top = 120
      Width = 142
      Height = 41
      Align = alTop
      Caption = '分隔条'
      Flat = True
      OnClick = btnfengetiaoClick
    end
    object pnlgap2: TPanel
      Left = 0
      Top = 161
      Width = 142
      Height = 5
      Align = alTop
      BevelOuter = bvNone
    end
    object btnyouhuiquan: TSpeedButton
      Left = 0
      Top = 166
      Width = 142
      Height = 41
      Align = alTop
      Caption = '优惠券'
      Flat = True
      OnClick = btnyouhuiquanClick
    end
    object pnlgap3: TPanel
      Left = 0
      Top = 207
      Width = 142
      Height = 5
      Align = alTop
      BevelOuter = bvNone
    end
    object btndapei: TSpeedButton
      Left = 0
      Top = 212
      Width = 142
      Height = 41
      Align = alTop
      Caption = '搭配销售'
      Flat = True
      OnClick = btndapeiClick
    end
    object pnl24: TPanel
      Left = 0
      Top = 253
      Width = 142
      Height = 26
      Align = alTop
      Alignment = taLeftJustify
      BevelOuter = bvNone
      BorderWidth = 8
      Caption = '◇ 产品信息'
      Font.Style = [fsBold]
      ParentFont = False
    end
    object btncanshu: TSpeedButton
      Left = 0
      Top = 279
      Width = 142
      Height = 41
      Align = alTop
      Caption = '产品参数'
      Flat = True
      OnClick = btncanshuClick
    end
    object pnlgap4: TPanel
      Left = 0
      Top = 320
      Width = 142
      Height = 5
      Align = alTop
      BevelOuter = bvNone
    end
    object btnchima: TSpeedButton
      Left = 0
      Top = 325
      Width = 142
      Height = 41
      Align = alTop
      Caption = '产品尺码'
      Flat = True
      OnClick = btnchimaClick
    end
    object pnlgap5: TPanel
      Left = 0
      Top = 366
      Width = 142
      Height = 5
      Align = alTop
      BevelOuter = bvNone
    end
    object btnzhanshi: TSpeedButton
      Left = 0
      Top = 371
      Width = 142
      Height = 41
      Align = alTop
      Caption = '产品展示'
      Flat = True
      OnClick = btnzhanshiClick
    end
    object pnlgap6: TPanel
      Left = 0
      Top = 412
      Width = 142
      Height = 5
      Align = alTop
      BevelOuter = bvNone
    end
    object btnxijie: TSpeedButton
      Left = 0
      Top = 417
      Width = 142
      Height = 41
      Align = alTop
      Caption = '产品细节'
      Flat = True
      OnClick = btnxijieClick
    end
    object pnl29: TPanel
      Left = 0
      Top = 458
      Width = 142
      Height = 26
      Align = alTop
      Alignment = taLeftJustify
      BevelOuter = bvNone
      BorderWidth = 8
      Caption = '◇ 辅助版块'
      Font.Style = [fsBold]
      ParentFont = False
    end
    object btnyangshi: TSpeedButton
      Left = 0
      Top = 484
      Width = 142
      Height = 41
      Align = alTop
      Caption = '分割样式'
      Flat = True
      OnClick = btnyangshiClick
    end
    object pnlgap7: TPanel
      Left = 0
      Top = 525
      Width = 142
      Height = 5
      Align = alTop
      BevelOuter = bvNone
    end
    object btnjiaoliu: TSpeedButton
      Left = 0
      Top = 530
      Width = 142
      Height = 41
      Align = alTop
      Caption = '交流版块'
      Flat = True
      OnClick = btnjiaoliuClick
    end
    object pnlgap8: TPanel
      Left = 0
      Top = 571
      Width = 142
      Height = 5
      Align = alTop
      BevelOuter = bvNone
    end
    object btnzidingyi: TSpeedButton
      Left = 0
      Top = 576
      Width = 142
      Height = 41
      Align = alTop
      Caption = '自定义'
      Flat = True
      OnClick = btnzidingyiClick
    end
  end
  object pnl4: TPanel
    Left = 142
    Top = 9
    Width = 287
    Height = 892
    Align = alLeft
    BevelOuter = bvNone
    Visible = False
    object pnl73: TPanel
      Left = 0
      Top = 0
      Width = 287
      Height = 35
      Align = alTop
      BevelOuter = bvNone
      object lbl3: TLabel
        Left = 8
        Top = 11
        Caption = '总宽：'
      end
      object lblzongkuan: TLabel
        Left = 42
        Top = 11
        Caption = '750'
        Font.Color = clRed
        Font.Style = [fsBold]
        ParentFont = False
      end
      object lbl4: TLabel
        Left = 78
        Top = 11
        Caption = '总高：'
      end
      object lblzonggao: TLabel
        Left = 112
        Top = 11
        Caption = '0'
        Font.Color = clRed
        Font.Style = [fsBold]
        ParentFont = False
      end
      object lbl5: TLabel
        Left = 148
        Top = 11
        Caption = '图宽：'
      end
      object lbltukuan: TLabel
        Left = 182
        Top = 11
        Caption = '0'
        Font.Color = clRed
        Font.Style = [fsBold]
        ParentFont = False
      end
      object lbl6: TLabel
        Left = 218
        Top = 11
        Caption = '图高：'
      end
      object lbltugao: TLabel
        Left = 252
        Top = 11
        Caption = '0'
        Font.Color = clRed
        Font.Style = [fsBold]
        ParentFont = False
      end
    end
    object pgc1: TPageControl
      Left = 0
      Top = 35
      Width = 287
      Height = 536
      ActivePage = tsguanlian
      Align = alTop
      object tsguanlian: TTabSheet
        Caption = '关联销售'
        TabVisible = False
        object rgleixing: TRadioGroup
          Left = 8
          Top = 8
          Width = 265
          Height = 44
          Caption = '样式选择'
          Columns = 2
          Items.Strings = (
            '图文4列'
            '图文3列')
          OnClick = rgleixingClick
        end
        object lbl7: TLabel
          Left = 10
          Top = 63
          Caption = '小字色：'
        end
        object edtzise: TEdit
          Left = 84
          Top = 60
          Width = 180
          Height = 21
          Text = '#999'
          Hint = '双击选择颜色'
          OnDblClick = edtziseDblClick
        end
        object lbl8: TLabel
          Left = 10
          Top = 90
          Caption = '价格色：'
        end
        object edt23: TEdit
          Left = 84
          Top = 87
          Width = 180
          Height = 21
          Text = '#F30'
          Hint = '双击选择颜色'
          OnDblClick = edt23DblClick
        end
        object pgcguanlian: TPageControl
          Left = 8
          Top = 122
          Width = 267
          Height = 362
          ActivePage = tsguanliantupian
          object tsguanliantupian: TTabSheet
            Caption = '图片列表'
            object lbl9: TLabel
              Left = 6
              Top = 6
              Caption = '【图片列表 | 隔开】'
            end
            object mmotwo: TMemo
              Left = 6
              Top = 24
              Width = 250
              Height = 300
              Lines.Strings = (
                'http://www.example.com/images/related-1.jpg|'
                'http://www.example.com/images/related-2.jpg|'
                'http://www.example.com/images/related-3.jpg|'
                'http://www.example.com/images/related-4.jpg|')
              ScrollBars = ssBoth
              WordWrap = False
            end
          end
          object tsguanlianlianjie: TTabSheet
            Caption = '链接地址'
            object lbl10: TLabel
              Left = 6
              Top = 6
              Caption = '【链接列表 | 隔开】'
            end
            object mmothree: TMemo
              Left = 6
              Top = 24
              Width = 250
              Height = 300
              Lines.Strings = (
                '#|#|#|#')
              ScrollBars = ssVertical
            end
          end
          object tsguanlianbiaoti: TTabSheet
            Caption = '标题说明'
            object lbl11: TLabel
              Left = 6
              Top = 6
              Caption = '【产品标题 | 隔开】'
            end
            object mmoone: TMemo
              Left = 6
              Top = 24
              Width = 250
              Height = 140
              Lines.Strings = (
                '披肩中老年蝙蝠外套|'
                '披肩中老年蝙蝠外套|'
                '披肩中老年蝙蝠外套|'
                '披肩中老年蝙蝠外套|')
              ScrollBars = ssVertical
            end
            object lbl12: TLabel
              Left = 6
              Top = 172
              Caption = '【产品价格 | 隔开】'
            end
            object mmoguanlianjiage: TMemo
              Left = 6
              Top = 190
              Width = 250
              Height = 134
              Lines.Strings = (
                '59.00|'
                '68.00|'
                '59.00|'
                '63.00|')
              ScrollBars = ssVertical
            end
          end
        end
        object btn14: TButton
          Left = 40
          Top = 494
          Width = 90
          Height = 28
          Caption = '生成'
          OnClick = btn14Click
        end
        object btnadd: TButton
          Left = 150
          Top = 494
          Width = 90
          Height = 28
          Caption = '添加'
          OnClick = btnaddClick
        end
      end
      object tsyouhuiquan: TTabSheet
        Caption = '优惠券'
        TabVisible = False
        object lbl13: TLabel
          Left = 10
          Top = 13
          Caption = '版块底色：'
        end
        object edt5: TEdit
          Left = 84
          Top = 10
          Width = 180
          Height = 21
          Text = '#66F'
          Hint = '双击选择颜色'
          OnDblClick = edt5DblClick
        end
        object lbl14: TLabel
          Left = 10
          Top = 40
          Caption = '文字颜色：'
        end
        object edt6: TEdit
          Left = 84
          Top = 37
          Width = 180
          Height = 21
          Text = '#FFF'
          Hint = '双击选择颜色'
          OnDblClick = edt6DblClick
        end
        object lbl15: TLabel
          Left = 10
          Top = 67
          Caption = '领取底色：'
        end
        object edt7: TEdit
          Left = 84
          Top = 64
          Width = 180
          Height = 21
          Text = '#F60'
          Hint = '双击选择颜色'
          OnDblClick = edt7DblClick
        end
        object lbl16: TLabel
          Left = 10
          Top = 94
          Caption = '文字颜色：'
        end
        object edt8: TEdit
          Left = 84
          Top = 91
          Width = 180
          Height = 21
          Text = '#FFF'
          Hint = '双击选择颜色'
          OnDblClick = edt8DblClick
        end
        object lbl17: TLabel
          Left = 10
          Top = 124
          Caption = '优惠金额 | 隔开'
        end
        object mmojine: TMemo
          Left = 10
          Top = 142
          Width = 255
          Height = 60
          Lines.Strings = (
            '10|20|50')
          ScrollBars = ssVertical
        end
        object lbl18: TLabel
          Left = 10
          Top = 210
          Caption = '使用说明 | 隔开'
        end
        object mmoshuoming: TMemo
          Left = 10
          Top = 228
          Width = 255
          Height = 100
          Lines.Strings = (
            '满100元使用|'
            '满200元使用|'
            '满300元使用|')
          ScrollBars = ssVertical
        end
        object lbl19: TLabel
          Left = 10
          Top = 336
          Caption = '链接列表 | 隔开'
        end
        object mmolianjie: TMemo
          Left = 10
          Top = 354
          Width = 255
          Height = 60
          Lines.Strings = (
            '#|#|#')
          ScrollBars = ssVertical
        end
        object btn16: TButton
          Left = 40
          Top = 494
          Width = 90
          Height = 28
          Caption = '生成'
          OnClick = btn16Click
        end
        object btntianjia: TButton
          Left = 150
          Top = 494
          Width = 90
          Height = 28
          Caption = '添加'
          OnClick = btntianjiaClick
        end
      end
      object tsfengetiao: TTabSheet
        Caption = '分隔条'
        TabVisible = False
        object grp1: TGroupBox
          Left = 8
          Top = 8
          Width = 265
          Height = 136
          Caption = '参数'
          object lbl20: TLabel
            Left = 8
            Top = 23
            Caption = '底色：'
          end
          object edt1: TEdit
            Left = 76
            Top = 20
            Width = 180
            Height = 21
            Text = '#F3F3F3'
            Hint = '双击选择颜色'
            OnDblClick = edt1DblClick
          end
          object lbl21: TLabel
            Left = 8
            Top = 50
            Caption = '高亮色：'
          end
          object edt24: TEdit
            Left = 76
            Top = 47
            Width = 180
            Height = 21
            Text = '#c0c0c0'
            Hint = '双击选择颜色'
            OnDblClick = edt24DblClick
          end
          object lbl22: TLabel
            Left = 8
            Top = 77
            Caption = '线宽：'
          end
          object cbb2: TComboBox
            Left = 76
            Top = 74
            Width = 80
            Height = 21
            Text = '0'
            Items.Strings = (
              '0'
              '1'
              '2'
              '3'
              '4')
          end
          object lbl23: TLabel
            Left = 8
            Top = 104
            Caption = '底线色：'
          end
          object edt2: TEdit
            Left = 76
            Top = 101
            Width = 180
            Height = 21
            Text = '#8080FF'
            Hint = '双击选择颜色'
            OnDblClick = edt2DblClick
          end
        end
        object grp2: TGroupBox
          Left = 8
          Top = 152
          Width = 265
          Height = 110
          Caption = '分割文字'
          object lbl24: TLabel
            Left = 8
            Top = 23
            Caption = '文字：'
          end
          object edt3: TEdit
            Left = 76
            Top = 20
            Width = 180
            Height = 21
            Text = '产品参数'
          end
          object lbl25: TLabel
            Left = 8
            Top = 50
            Caption = '字色：'
          end
          object edt4: TEdit
            Left = 76
            Top = 47
            Width = 180
            Height = 21
            Text = '#fff'
            Hint = '双击选择颜色'
            OnDblClick = edt4DblClick
          end
          object lbl26: TLabel
            Left = 8
            Top = 77
            Caption = '字号：'
          end
          object cbb1: TComboBox
            Left = 76
            Top = 74
            Width = 80
            Height = 21
            Text = '16'
            Items.Strings = (
              '12'
              '14'
              '15'
              '16'
              '18'
              '24')
          end
        end
        object grp3: TGroupBox
          Left = 8
          Top = 270
          Width = 265
          Height = 84
          Caption = '右侧说明文字'
          object lbl27: TLabel
            Left = 8
            Top = 23
            Caption = '文字：'
          end
          object edt25: TEdit
            Left = 76
            Top = 20
            Width = 180
            Height = 21
            Text = '欢迎光临本店'
          end
          object lbl28: TLabel
            Left = 8
            Top = 50
            Caption = '字色：'
          end
          object edt28: TEdit
            Left = 76
            Top = 47
            Width = 180
            Height = 21
            Text = '#808080'
            Hint = '双击选择颜色'
            OnDblClick = edt28DblClick
          end
        end
        object btn15: TButton
          Left = 40
          Top = 494
          Width = 90
          Height = 28
          Caption = '生成'
          OnClick = btn15Click
        end
        object btn8: TButton
          Left = 150
          Top = 494
          Width = 90
          Height = 28
          Caption = '添加'
          OnClick = btntianjiaClick
        end
      end
      object tsdapei: TTabSheet
        Caption = '搭配销售'
        TabVisible = False
        object lbl29: TLabel
          Left = 10
          Top = 13
          Caption = '单品1地址：'
        end
        object edt9: TEdit
          Left = 84
          Top = 10
          Width = 180
          Height = 21
          Text = 'http://www.example.com/images/bundle-item.jpg'
        end
        object lbl30: TLabel
          Left = 10
          Top = 44
          Caption = '单品1标题：'
        end
        object edt10: TEdit
          Left = 84
          Top = 41
          Width = 180
          Height = 21
          Text = '华为荣耀，闪耀全城'
        end
        object lbl31: TLabel
          Left = 10
          Top = 75
          Caption = '单品1链接：'
        end
        object edt11: TEdit
          Left = 84
          Top = 72
          Width = 180
          Height = 21
          Text = '#'
        end
        object lbl32: TLabel
          Left = 10
          Top = 106
          Caption = '单品2地址：'
        end
        object edt12: TEdit
          Left = 84
          Top = 103
          Width = 180
          Height = 21
          Text = 'http://www.example.com/images/bundle-item.jpg'
        end
        object lbl33: TLabel
          Left = 10
          Top = 137
          Caption = '单品2标题：'
        end
        object edt13: TEdit
          Left = 84
          Top = 134
          Width = 180
          Height = 21
          Text = '华为荣耀，闪耀全城'
        end
        object lbl34: TLabel
          Left = 10
          Top = 168
          Caption = '单品2链接：'
        end
        object edt14: TEdit
          Left = 84
          Top = 165
          Width = 180
          Height = 21
          Text = '#'
        end
        object lbl35: TLabel
          Left = 10
          Top = 199
          Caption = '套餐原价：'
        end
        object edt15: TEdit
          Left = 84
          Top = 196
          Width = 180
          Height = 21
          Text = '1696.0'
        end
        object lbl36: TLabel
          Left = 10
          Top = 230
          Caption = '套餐现价：'
        end
        object edt16: TEdit
          Left = 84
          Top = 227
          Width = 180
          Height = 21
          Text = '696.0'
        end
        object lbl37: TLabel
          Left = 10
          Top = 261
          Caption = '按钮色系：'
        end
        object edt17: TEdit
          Left = 84
          Top = 258
          Width = 180
          Height = 21
          Text = '#66F'
          Hint = '双击选择颜色'
          OnDblClick = edt17DblClick
        end
        object lbl38: TLabel
          Left = 10
          Top = 292
          Caption = '文字颜色：'
        end
        object edt18: TEdit
          Left = 84
          Top = 289
          Width = 180
          Height = 21
          Text = '#fff'
          Hint = '双击选择颜色'
          OnDblClick = edt18DblClick
        end
        object lbl39: TLabel
          Left = 10
          Top = 323
          Caption = '购买链接：'
        end
        object edt19: TEdit
          Left = 84
          Top = 320
          Width = 180
          Height = 21
          Text = '#'
        end
        object btn7: TButton
          Left = 40
          Top = 494
          Width = 90
          Height = 28
          Caption = '预览'
          OnClick = btn7Click
        end
        object btn17: TButton
          Left = 150
          Top = 494
          Width = 90
          Height = 28
          Caption = '添加'
          OnClick = btntianjiaClick
        end
      end
      object tscanshu: TTabSheet
        Caption = '产品参数'
        TabVisible = False
        object lbl40: TLabel
          Left = 10
          Top = 10
          Caption = '参数信息，一行一个信息 ( 7行内 )'
        end
        object mmocanshu: TMemo
          Left = 10
          Top = 28
          Width = 255
          Height = 220
          Lines.Strings = (
            'CPU型号：苹果A7 '
            '屏幕尺寸：4.0英寸 '
            '运行内存：1GB '
            '屏幕分辨率：1136×640像素 '
            '机身容量：16GB '
            '操作系统：iOS 8.0 '
            '后置相机：800万像素')
          ScrollBars = ssVertical
        end
        object lbl41: TLabel
          Left = 10
          Top = 265
          Caption = '产品图片：'
        end
        object edtcanshutu: TEdit
          Left = 84
          Top = 262
          Width = 180
          Height = 21
          Text = 'http://www.example.com/images/parameters.jpg'
        end
        object btn18: TButton
          Left = 40
          Top = 494
          Width = 90
          Height = 28
          Caption = '生成'
          OnClick = btn18Click
        end
        object btn5: TButton
          Left = 150
          Top = 494
          Width = 90
          Height = 28
          Caption = '添加'
          OnClick = btntianjiaClick
        end
      end
      object tschima: TTabSheet
        Caption = '产品尺码'
        TabVisible = False
        object rg4: TRadioGroup
          Left = 8
          Top = 8
          Width = 265
          Height = 60
          Caption = '样式'
          Columns = 1
          Items.Strings = (
            '默认样式')
          ItemIndex = 0
        end
        object btn19: TButton
          Left = 40
          Top = 494
          Width = 90
          Height = 28
          Caption = '生成'
          OnClick = btn19Click
        end
        object btn6: TButton
          Left = 150
          Top = 494
          Width = 90
          Height = 28
          Caption = '添加'
          OnClick = btntianjiaClick
        end
      end
      object tszhanshi: TTabSheet
        Caption = '产品展示'
        TabVisible = False
        object lbl42: TLabel
          Left = 10
          Top = 13
          Caption = '图片张数：'
        end
        object cbb3: TComboBox
          Left = 84
          Top = 10
          Width = 80
          Height = 21
          Text = '5'
          Items.Strings = (
            '3'
            '4'
            '5'
            '6'
            '7'
            '8'
            '9'
            '10'
            '11'
            '12')
        end
        object lbl43: TLabel
          Left = 10
          Top = 44
          Caption = '图片列表 | 隔开'
        end
        object mmozhanshi: TMemo
          Left = 10
          Top = 62
          Width = 255
          Height = 300
          Lines.Strings = (
            'http://www.example.com/images/display-1.jpg|'
            'http://www.example.com/images/display-2.jpg|'
            'http://www.example.com/images/display-3.jpg|'
            'http://www.example.com/images/display-4.jpg|'
            'http://www.example.com/images/display-5.jpg')
          ScrollBars = ssBoth
          WordWrap = False
        end
        object btn1: TButton
          Left = 40
          Top = 494
          Width = 90
          Height = 28
          Caption = '生成'
          OnClick = btn1Click
        end
        object btn3: TButton
          Left = 150
          Top = 494
          Width = 90
          Height = 28
          Caption = '添加'
          OnClick = btntianjiaClick
        end
      end
      object tsyangshi: TTabSheet
        Caption = '分割样式'
        TabVisible = False
        object rg10: TRadioGroup
          Left = 8
          Top = 8
          Width = 265
          Height = 48
          Caption = '关联样式'
          Columns = 1
          Items.Strings = (
            '默认样式')
          ItemIndex = 0
        end
        object lbl44: TLabel
          Left = 10
          Top = 69
          Caption = '版块底色：'
        end
        object edtfengedise: TEdit
          Left = 84
          Top = 66
          Width = 180
          Height = 21
          Text = '#FFF'
          Hint = '双击选择颜色'
          OnDblClick = edtfengediseDblClick
        end
        object lbl45: TLabel
          Left = 10
          Top = 99
          Caption = '标题大小：'
        end
        object cbb5: TComboBox
          Left = 84
          Top = 96
          Width = 80
          Height = 21
          Text = '48'
          Items.Strings = (
            '24'
            '30'
            '36'
            '48'
            '50'
            '60')
        end
        object lbl47: TLabel
          Left = 10
          Top = 129
          Caption = '标题颜色：'
        end
        object edtfengebiaoti: TEdit
          Left = 84
          Top = 126
          Width = 180
          Height = 21
          Text = '#000'
          Hint = '双击选择颜色'
          OnDblClick = edtfengebiaotiDblClick
        end
        object lbl48: TLabel
          Left = 10
          Top = 159
          Caption = '小字大小：'
        end
        object cbb6: TComboBox
          Left = 84
          Top = 156
          Width = 80
          Height = 21
          Text = '14'
          Items.Strings = (
            '14'
            '16'
            '18'
            '24')
        end
        object lbl49: TLabel
          Left = 10
          Top = 189
          Caption = '小字颜色：'
        end
        object edtfengexiaozi: TEdit
          Left = 84
          Top = 186
          Width = 180
          Height = 21
          Text = '#999'
          Hint = '双击选择颜色'
          OnDblClick = edtfengexiaoziDblClick
        end
        object lbl50: TLabel
          Left = 10
          Top = 219
          Caption = '分割线宽：'
        end
        object cbb7: TComboBox
          Left = 84
          Top = 216
          Width = 80
          Height = 21
          Text = '1'
          Items.Strings = (
            '0'
            '1'
            '2'
            '3'
            '4')
        end
        object lbl51: TLabel
          Left = 10
          Top = 249
          Caption = '分割线色：'
        end
        object edtfengexian: TEdit
          Left = 84
          Top = 246
          Width = 180
          Height = 21
          Text = '#999'
          Hint = '双击选择颜色'
          OnDblClick = edtfengexianDblClick
        end
        object lbl52: TLabel
          Left = 10
          Top = 279
          Caption = '分割样式：'
        end
        object cbb8: TComboBox
          Left = 84
          Top = 276
          Width = 80
          Height = 21
          Text = 'dashed'
          Items.Strings = (
            'solid'
            'dashed')
        end
        object lbl53: TLabel
          Left = 10
          Top = 309
          Caption = '标题：'
        end
        object edt26: TEdit
          Left = 84
          Top = 306
          Width = 180
          Height = 21
          Text = '精美细致 完美品质'
        end
        object lbl54: TLabel
          Left = 10
          Top = 339
          Caption = '小字：'
        end
        object edt27: TEdit
          Left = 84
          Top = 336
          Width = 180
          Height = 21
          Text = 'Exquisite and perfect quality'
        end
        object btn21: TButton
          Left = 40
          Top = 494
          Width = 90
          Height = 28
          Caption = '生成'
          OnClick = btn21Click
        end
        object btn10: TButton
          Left = 150
          Top = 494
          Width = 90
          Height = 28
          Caption = '添加'
          OnClick = btntianjiaClick
        end
      end
      object tsxijie: TTabSheet
        Caption = '产品细节'
        TabVisible = False
        object rg2: TRadioGroup
          Left = 8
          Top = 8
          Width = 265
          Height = 44
          Caption = '样式选择'
          Columns = 2
          Items.Strings = (
            '图文列表'
            '图文叠加')
          ItemIndex = 0
        end
        object lbl55: TLabel
          Left = 10
          Top = 61
          Caption = '图片张数：'
        end
        object cbb4: TComboBox
          Left = 84
          Top = 58
          Width = 80
          Height = 21
          Text = '5'
          Items.Strings = (
            '3'
            '4'
            '5'
            '6'
            '7'
            '8'
            '9'
            '10'
            '11'
            '12')
        end
        object lbl56: TLabel
          Left = 10
          Top = 88
          Caption = '标题色：'
        end
        object edt20: TEdit
          Left = 84
          Top = 85
          Width = 180
          Height = 21
          Text = '#f30'
          Hint = '双击选择颜色'
          OnDblClick = edt20DblClick
        end
        object lbl57: TLabel
          Left = 10
          Top = 115
          Caption = '小字色：'
        end
        object edt21: TEdit
          Left = 84
          Top = 112
          Width = 180
          Height = 21
          Text = '#999'
          Hint = '双击选择颜色'
          OnDblClick = edt21DblClick
        end
        object lbl58: TLabel
          Left = 10
          Top = 143
          Caption = '标题信息 | 隔开'
        end
        object mmoxijiebiaoti: TMemo
          Left = 10
          Top = 161
          Width = 255
          Height = 92
          Lines.Strings = (
            '高品质面料说明|'
            '高品质面料说明|'
            '高品质面料说明|'
            '高品质面料说明|'
            '高品质面料说明')
          ScrollBars = ssVertical
        end
        object lbl59: TLabel
          Left = 10
          Top = 259
          Caption = '文字说明 | 隔开'
        end
        object mmoxijieshuoming: TMemo
          Left = 10
          Top = 277
          Width = 255
          Height = 92
          Lines.Strings = (
            '2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋|'
            '2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋|'
            '2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋|'
            '2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋|'
            '2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋')
          ScrollBars = ssVertical
        end
        object lbl60: TLabel
          Left = 10
          Top = 375
          Caption = '图片列表 | 隔开'
        end
        object mmoxijietupian: TMemo
          Left = 10
          Top = 393
          Width = 255
          Height = 92
          Lines.Strings = (
            'http://www.example.com/images/detail-1.jpg|'
            'http://www.example.com/images/detail-2.jpg|'
            'http://www.example.com/images/detail-3.jpg|'
            'http://www.example.com/images/detail-4.jpg|'
            'http://www.example.com/images/detail-5.jpg')
          ScrollBars = ssBoth
          WordWrap = False
        end
        object img1: TImage
          Left = 240
          Top = 58
          Width = 20
          Height = 20
          Visible = False
        end
        object btn11: TButton
          Left = 40
          Top = 494
          Width = 90
          Height = 28
          Caption = '生成'
          OnClick = btn11Click
        end
        object btn20: TButton
          Left = 150
          Top = 494
          Width = 90
          Height = 28
          Caption = '添加'
          OnClick = btntianjiaClick
        end
      end
      object tsjiaoliu: TTabSheet
        Caption = '交流版块'
        TabVisible = False
        object rg9: TRadioGroup
          Left = 8
          Top = 8
          Width = 265
          Height = 48
          Caption = '关联样式'
          Columns = 1
          Items.Strings = (
            '买家必读')
          ItemIndex = 0
        end
        object lbl61: TLabel
          Left = 10
          Top = 73
          Caption = '标签底色：'
        end
        object edt22: TEdit
          Left = 84
          Top = 70
          Width = 180
          Height = 21
          Text = '#F30'
          Hint = '双击选择颜色'
          OnDblClick = edt22DblClick
        end
        object btn22: TButton
          Left = 40
          Top = 494
          Width = 90
          Height = 28
          Caption = '生成'
          OnClick = btn22Click
        end
        object btn9: TButton
          Left = 150
          Top = 494
          Width = 90
          Height = 28
          Caption = '添加'
          OnClick = btntianjiaClick
        end
      end
      object tszidingyi: TTabSheet
        Caption = '自定义'
        TabVisible = False
        object lbl62: TLabel
          Left = 10
          Top = 10
          Caption = '自定义html代码内容'
        end
        object mmo34: TMemo
          Left = 10
          Top = 28
          Width = 255
          Height = 450
          ScrollBars = ssBoth
        end
        object btn23: TButton
          Left = 40
          Top = 494
          Width = 90
          Height = 28
          Caption = '生成'
          OnClick = btn23Click
        end
        object btn13: TButton
          Left = 150
          Top = 494
          Width = 90
          Height = 28
          Caption = '添加'
          OnClick = btntianjiaClick
        end
      end
    end
    object pnl9: TPanel
      Left = 0
      Top = 571
      Width = 287
      Height = 321
      Align = alClient
      BevelOuter = bvNone
      object pnl10: TPanel
        Left = 0
        Top = 0
        Width = 287
        Height = 24
        Align = alTop
        Alignment = taLeftJustify
        BevelOuter = bvNone
        BorderWidth = 4
        Caption = '版块列表'
        Font.Style = [fsBold]
        ParentFont = False
      end
      object pnl11: TPanel
        Left = 0
        Top = 285
        Width = 287
        Height = 36
        Align = alBottom
        BevelOuter = bvNone
        object btn2: TButton
          Left = 40
          Top = 4
          Width = 90
          Height = 28
          Caption = '汇总'
          OnClick = btn2Click
        end
        object btntiqu: TButton
          Left = 150
          Top = 4
          Width = 90
          Height = 28
          Caption = '提取代码'
          OnClick = btntiquClick
        end
      end
      object lv1: TListView
        Left = 4
        Top = 24
        Width = 279
        Height = 261
        Align = alClient
        Columns = <
          item
            Caption = '编号'
            Width = 40
          end
          item
            Caption = '版块名'
            Width = 160
          end
          item
            Caption = '代码'
            Width = 40
          end>
        GridLines = True
        ReadOnly = True
        RowSelect = True
        PopupMenu = pm1
        ViewStyle = vsReport
      end
    end
  end
  object spl1: TSplitter
    Left = 429
    Top = 9
    Width = 4
    Height = 892
  end
  object pnl19: TPanel
    Left = 433
    Top = 9
    Width = 991
    Height = 892
    Align = alClient
    BevelOuter = bvNone
    object wb1: TWebBrowser
      Left = 0
      Top = 0
      Width = 991
      Height = 892
      Align = alClient
    end
    object mmochima: TMemo
      Left = 40
      Top = 10
      Width = 200
      Height = 100
      Lines.Strings = (
        '<div style="width:750px; font-family: Microsoft YaHei;">'
        #9'<div style="text-align:center; font-size:20px; line-height:80px; font-weight:100;">产品尺码表 | 单位（cm）</div>'
        '<table style="border-collapse: collapse; color: #333; font-size: 15px;" width="100%" border="1" cellpadding="0" cellspacing="0" bordercolor="#999">'
        '    <tr>'
        '      <td height="30" align="center" bgcolor="#E6E6E6">尺码</td>'
        '      <td height="30" align="center" bgcolor="#E6E6E6">胸围</td>'
        '      <td height="30" align="center" bgcolor="#E6E6E6">腰围</td>'
        '      <td height="30" align="center" bgcolor="#E6E6E6">肩宽</td>'
        '      <td height="30" align="center" bgcolor="#E6E6E6">身高</td>'
        '      <td height="30" align="center" bgcolor="#E6E6E6">衣长</td>'
        '    </tr>'
        '    <tr>'
        '      <td height="25" align="center">S</td>'
        '      <td height="25" align="center">36</td>'
        '      <td height="25" align="center">37</td>'
        '      <td height="25" align="center">38</td>'
        '      <td height="25" align="center">39</td>'
        '      <td height="25" align="center">40</td>'
        '    </tr>'
        '    <tr>'
        '      <td height="25" align="center">M</td>'
        '      <td height="25" align="center">41</td>'
        '      <td height="25" align="center">42</td>'
        '      <td height="25" align="center">43</td>'
        '      <td height="25" align="center">44</td>'
        '      <td height="25" align="center">45</td>'
        '    </tr>'
        '    <tr>'
        '      <td height="25" align="center">L</td>'
        '      <td height="25" align="center">35</td>'
        '      <td height="25" align="center">36</td>'
        '      <td height="25" align="center">37</td>'
        '      <td height="25" align="center">38</td>'
        '      <td height="25" align="center">39</td>'
        '    </tr>'
        '    <tr>'
        '      <td height="25" align="center">XL</td>'
        '      <td height="25" align="center">40</td>'
        '      <td height="25" align="center">41</td>'
        '      <td height="25" align="center">42</td>'
        '      <td height="25" align="center">43</td>'
        '      <td height="25" align="center">45</td>'
        '    </tr>'
        '    <tr>'
        '      <td height="25" align="center">XXL</td>'
        '      <td height="25" align="center">46</td>'
        '      <td height="25" align="center">47</td>'
        '      <td height="25" align="center">48</td>'
        '      <td height="25" align="center">49</td>'
        '      <td height="25" align="center">50</td>'
        '    </tr>'
        '  </table>'
        '  <div style="text-align:center; font-size:14px; line-height:60px; color:#999">备注信息：以上尺码为手工测量，可能会有1-3cm误差，实际以实物为准</div>'
        '</div>')
      Visible = False
      WordWrap = False
    end
    object mmomaijiabidu: TMemo
      Left = 40
      Top = 120
      Width = 200
      Height = 100
      Lines.Strings = (
        '  <table  style="font-size:14px; font-family:Microsoft YaHei; line-height:25px;border-collapse:collapse; color:#333" width="100%" cellpadding="0" cellspacing="0" border="1" bordercolor="#DFDFDF">'
        '    <tr>'
        '      <td width="20%" height="40" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">正品保障</div></td>'
        '      <td width="88%" height="30" valign="middle"><div style="margin:0 20px;">本店所售产品均为全新正品，质量保证，请放心购买！</div></td>'
        '    </tr>'
        '    <tr>'
        '      <td width="20%" height="100" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">关于色差</div></td>'
        '      <td height="30" valign="middle"><div style="margin:0 20px;">商品照片都为专业摄影师拍摄后和后期修正调整，尽量与现实商品保持一致。但由于灯光、显示器色彩偏差及个人对颜色理解各有不同，导致少数实物可能会与照片存在色差，如无法接受请谨慎购买。最终颜色会以实际商品为准，谢谢亲的理解！</div></td>'
        '    </tr>'
        '    <tr>'
        '      <td width="20%" height="40" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">关于尺寸</div></td>'
        '      <td height="30" valign="middle"><div style="margin:0 20px;">纯由我们手工测量，可能存在0.5cm的误差，请不能接受误差的朋友慎拍。</div></td>'
        '    </tr>'
        '    <tr>'
        '      <td width="20%" height="30" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">关于配送</div></td>'
        '      <td height="100" valign="middle"><div style="margin:0 20px;">为了确保亲们能收到完好的宝贝，我们提醒亲们在签收快递的时候，注意检查包装是否完好，并且是否有被拆过的痕迹哦！提醒亲们应该与快递当面验收您的快递包裹！本店默认：韵达快递，如需发其它快递，请联系在线客服。</div></td>'
        '    </tr>'
        '    <tr>'
        '      <td width="20%" height="30" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">7天退货</div></td>'
        '      <td height="120" valign="middle"><div style="margin:0 20px;">A.本店支持7天无理由退换货服务，如果您对我们的商品不满意，在保存商品及包装原样情况下以退换一次。商品及包装原样指：商品未使用过、有吊牌、未拆标、配件齐全、未改装过、无人为损坏、不影响二次销售。'
        '      B.因质量问题造成的退换货邮费由我们承担，非质量问题造成的退换货邮费由买家承担！</div></td>'
        '    </tr>'
        '    <tr>'
        '      <td width="20%" height="40" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">发货时间</div></td>'
        '      <td height="30" valign="middle"><div style="margin:0 20px;">17点前付款的订单，当天发货，17点后付款的订单次日发货（大型活动期间，发货另行说明）</div></td>'
        '    </tr>'
        '    <tr>'
        '      <td width="20%" height="80" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">发货快递</div></td>'
        '      <td height="30" valign="middle"><div style="margin:0 20px;">默认申通快递（除聚划算等大型活动外），如果亲所在的地区不在顺丰快递收送范围，亲可以直接联系在线客服协商快递</div></td>'
        '    </tr>'
        '    <tr>'
        '      <td width="20%" height="80" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">收货提醒</div></td>'
        '      <td height="30" valign="middle"><div style="margin:0 20px;">请您务必在签收快递前，确认商品完好无损后再签收，如检验商品过程中发现缺货、少货，可以拒签并第一时间联系我们。</div></td>'
        '    </tr>'
        '  </table>')
      Visible = False
      WordWrap = False
    end
    object pnl18: TPanel
      Left = 0
      Top = 291
      Width = 33
      Height = 56
      Caption = '》'
      Color = clGradientActiveCaption
      Font.Color = clWhite
      Font.Style = [fsBold]
      Hint = '点击打开面板'
      ParentBackground = False
      ParentFont = False
      ShowHint = True
      OnClick = pnl18Click
    end
  end
  object mm1: TMainMenu
    object N4: TMenuItem
      Caption = ' 官方网站 '
      OnClick = N4Click
    end
    object N5: TMenuItem
      Caption = ' 软件公告 '
      OnClick = N5Click
    end
    object N7: TMenuItem
      Caption = ' 视频教程 '
      OnClick = N7Click
    end
    object N8: TMenuItem
      Caption = ' 新版下载 '
      OnClick = N8Click
    end
  end
  object pm1: TPopupMenu
    object N11: TMenuItem
      Caption = '预览'
      OnClick = N11Click
    end
    object N6: TMenuItem
      Caption = '-'
    end
    object N2: TMenuItem
      Caption = '上移'
      OnClick = N2Click
    end
    object N3: TMenuItem
      Caption = '下移'
      OnClick = N3Click
    end
    object N10: TMenuItem
      Caption = '-'
    end
    object N1: TMenuItem
      Caption = '删除'
      OnClick = N1Click
    end
    object N9: TMenuItem
      Caption = '清空'
      OnClick = N9Click
    end
  end
  object dlgColor1: TColorDialog
  end
  object tmr1: TTimer
    Interval = 1000
    OnTimer = tmr1Timer
  end
  object skndt1: TSkinData
    Active = True
    SkinFormtype = sfMainform
    SkinStream = {
      00000000}
  end
end
