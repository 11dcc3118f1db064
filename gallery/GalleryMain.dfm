object GalleryMain: TGalleryMain
  Left = 16
  Top = 16
  Caption = 'Skin gallery'
  ClientHeight = 676
  ClientWidth = 860
  Color = clBtnFace
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Menu = MainMenu
  PopupMenu = FormPopup
  ShowHint = True
  OnClose = FormClose
  OnCreate = FormCreate
  object ToolBar: TToolBar
    Left = 0
    Top = 0
    Width = 860
    Height = 24
    ButtonWidth = 64
    ShowCaptions = True
    object NewButton: TToolButton
      Caption = 'New'
    end
    object OpenButton: TToolButton
      Caption = 'Open'
    end
    object SaveButton: TToolButton
      Caption = 'Save'
      Enabled = False
    end
  end
  object StatusBar: TStatusBar
    Left = 0
    Top = 656
    Width = 860
    Height = 20
    Panels = <
      item
        Text = 'Ready'
        Width = 200
      end
      item
        Text = 'Every control kind of the class library'
        Width = 300
      end
      item
        Width = 50
      end>
  end
  object Contents: TScrollBox
    Left = 0
    Top = 24
    Width = 860
    Height = 632
    Align = alClient
    BorderStyle = bsNone
    object ButtonsBox: TGroupBox
      Left = 8
      Top = 8
      Width = 200
      Height = 132
      Caption = 'Buttons'
      object DefaultButton: TButton
        Left = 12
        Top = 22
        Width = 84
        Height = 25
        Caption = 'Default'
        Default = True
      end
      object PlainButton: TButton
        Left = 104
        Top = 22
        Width = 84
        Height = 25
        Caption = 'Button'
      end
      object DisabledButton: TButton
        Left = 12
        Top = 56
        Width = 84
        Height = 25
        Caption = 'Disabled'
        Enabled = False
      end
      object SpeedButton: TSpeedButton
        Left = 104
        Top = 56
        Width = 84
        Height = 25
        Caption = 'Speed'
        Flat = True
      end
      object DialogButton: TButton
        Left = 12
        Top = 94
        Width = 84
        Height = 25
        Caption = 'Dialog...'
        OnClick = DialogButtonClick
      end
      object MessageButton: TButton
        Left = 104
        Top = 94
        Width = 84
        Height = 25
        Caption = 'Message...'
        OnClick = MessageButtonClick
      end
    end
    object ChoicesBox: TGroupBox
      Left = 8
      Top = 148
      Width = 200
      Height = 150
      Caption = 'Check boxes and radio buttons'
      object CheckedBox: TCheckBox
        Left = 12
        Top = 22
        Width = 170
        Height = 17
        Caption = 'Checked'
        Checked = True
        State = cbChecked
      end
      object PlainBox: TCheckBox
        Left = 12
        Top = 44
        Width = 170
        Height = 17
        Caption = 'Not checked'
      end
      object GrayedBox: TCheckBox
        Left = 12
        Top = 66
        Width = 170
        Height = 17
        AllowGrayed = True
        Caption = 'Grayed'
        State = cbGrayed
      end
      object DisabledBox: TCheckBox
        Left = 12
        Top = 88
        Width = 170
        Height = 17
        Caption = 'Disabled'
        Enabled = False
      end
      object RadioOne: TRadioButton
        Left = 12
        Top = 110
        Width = 80
        Height = 17
        Caption = 'Radio'
        Checked = True
      end
      object RadioTwo: TRadioButton
        Left = 100
        Top = 110
        Width = 80
        Height = 17
        Caption = 'Radio'
      end
    end
    object RadioGroup: TRadioGroup
      Left = 8
      Top = 306
      Width = 200
      Height = 96
      Caption = 'Radio group'
      ItemIndex = 1
      Items.Strings = (
        'First'
        'Second'
        'Third')
    end
    object Panel: TPanel
      Left = 8
      Top = 410
      Width = 200
      Height = 98
      BevelOuter = bvLowered
      Caption = 'Panel'
      object PanelLabel: TLabel
        Left = 8
        Top = 8
        Caption = 'A label on a panel'
      end
    end
    object InputsBox: TGroupBox
      Left = 216
      Top = 8
      Width = 300
      Height = 290
      Caption = 'Edits'
      object EditLabel: TLabel
        Left = 12
        Top = 24
        Caption = 'Edit:'
      end
      object Edit: TEdit
        Left = 80
        Top = 20
        Width = 204
        Height = 21
        Text = 'Some text'
      end
      object ComboLabel: TLabel
        Left = 12
        Top = 54
        Caption = 'Combo box:'
      end
      object ComboBox: TComboBox
        Left = 80
        Top = 50
        Width = 204
        Height = 21
        Items.Strings = (
          'Apples'
          'Pears'
          'Plums')
        ItemIndex = 0
        Text = 'Apples'
      end
      object DateLabel: TLabel
        Left = 12
        Top = 84
        Caption = 'Date:'
      end
      object DatePicker: TDateTimePicker
        Left = 80
        Top = 80
        Width = 204
        Height = 21
      end
      object SpinLabel: TLabel
        Left = 12
        Top = 114
        Caption = 'Up-down:'
      end
      object SpinEdit: TEdit
        Left = 80
        Top = 110
        Width = 60
        Height = 21
        Text = '5'
      end
      object UpDown: TUpDown
        Left = 140
        Top = 110
        Width = 17
        Height = 21
        Associate = SpinEdit
        Position = 5
      end
      object Memo: TMemo
        Left = 12
        Top = 144
        Width = 272
        Height = 132
        Lines.Strings = (
          'A memo with a scroll bar.'
          'Line 2'
          'Line 3'
          'Line 4'
          'Line 5'
          'Line 6'
          'Line 7'
          'Line 8'
          'Line 9'
          'Line 10'
          'Line 11'
          'Line 12')
        ScrollBars = ssVertical
      end
    end
    object RangesBox: TGroupBox
      Left = 216
      Top = 306
      Width = 300
      Height = 202
      Caption = 'Track bar and progress bar'
      object TrackBar: TTrackBar
        Left = 12
        Top = 24
        Width = 272
        Height = 32
        Position = 4
      end
      object ProgressBar: TProgressBar
        Left = 12
        Top = 70
        Width = 272
        Height = 18
        Position = 60
      end
      object HeaderControl: THeaderControl
        Left = 12
        Top = 104
        Width = 272
        Height = 20
        Align = alNone
        Sections = <
          item
            Text = 'Name'
            Width = 120
          end
          item
            Text = 'Size'
            Width = 70
          end
          item
            Text = 'Kind'
            Width = 80
          end>
      end
      object ScrollBar: TScrollBar
        Left = 12
        Top = 136
        Width = 272
        Height = 17
        Max = 100
        PageSize = 20
        Position = 30
      end
      object MediaPlayer: TMediaPlayer
        Left = 12
        Top = 162
        Width = 272
        Height = 30
      end
    end
    object PageControl: TPageControl
      Left = 524
      Top = 8
      Width = 328
      Height = 500
      ActivePage = ListSheet
      object ListSheet: TTabSheet
        Caption = 'List view'
        object ListView: TListView
          Left = 0
          Top = 0
          Width = 320
          Height = 472
          Align = alClient
          Columns = <
            item
              Caption = 'Element'
              Width = 150
            end
            item
              Caption = 'Frames'
              Width = 60
            end>
          GridLines = True
          RowSelect = True
          ViewStyle = vsReport
        end
      end
      object NotesSheet: TTabSheet
        Caption = 'Notes'
        object NotesMemo: TMemo
          Left = 8
          Top = 8
          Width = 300
          Height = 200
          Lines.Strings = (
            'Pages of a page control.')
        end
      end
      object TreeSheet: TTabSheet
        Caption = 'Tree view'
        object TreeView: TTreeView
          Left = 0
          Top = 0
          Width = 320
          Height = 472
          Align = alClient
        end
      end
      object GridSheet: TTabSheet
        Caption = 'Grid'
        object StringGrid: TStringGrid
          Left = 0
          Top = 0
          Width = 320
          Height = 472
          Align = alClient
          ColCount = 4
          DefaultColWidth = 72
          DefaultRowHeight = 20
          RowCount = 12
        end
      end
      object RichSheet: TTabSheet
        Caption = 'Rich edit'
        object RichEdit: TRichEdit
          Left = 0
          Top = 0
          Width = 320
          Height = 472
          Align = alClient
          Lines.Strings = (
            'A rich edit control.'
            'Its text is not limited to 32767 characters.')
        end
      end
    end
    object MoreBox: TGroupBox
      Left = 8
      Top = 516
      Width = 844
      Height = 110
      Caption = 'Bit buttons and tabs'
      object OkBitButton: TBitBtn
        Left = 12
        Top = 22
        Width = 96
        Height = 28
        Kind = bkOK
        TabOrder = 0
      end
      object CancelBitButton: TBitBtn
        Left = 12
        Top = 60
        Width = 96
        Height = 28
        Enabled = False
        Kind = bkCancel
        TabOrder = 1
      end
      object TabSet: TTabSet
        Left = 120
        Top = 22
        Width = 240
        Height = 21
        Tabs.Strings = (
          'Description'
          'Images'
          'Shipping')
        TabIndex = 0
      end
      object ClosingPages: TPageControl
        Tag = 7777
        Left = 372
        Top = 18
        Width = 226
        Height = 84
        ActivePage = DraftSheet
        object DraftSheet: TTabSheet
          Caption = 'Draft'
        end
        object SummarySheet: TTabSheet
          Caption = 'Summary'
        end
        object SpecsSheet: TTabSheet
          Caption = 'Specs'
        end
      end
      object BottomPages: TPageControl
        Left = 608
        Top = 18
        Width = 226
        Height = 84
        ActivePage = FrontSheet
        TabPosition = tpBottom
        object FrontSheet: TTabSheet
          Caption = 'Front'
        end
        object BackSheet: TTabSheet
          Caption = 'Back'
        end
      end
    end
  end
  object MainMenu: TMainMenu
    object FileMenu: TMenuItem
      Caption = '&File'
      object NewItem: TMenuItem
        Caption = '&New'
        ImageIndex = 0
        ShortCut = 16462
      end
      object OpenItem: TMenuItem
        Caption = '&Open...'
        Default = True
        ImageIndex = 1
        ShortCut = 16463
      end
      object SaveItem: TMenuItem
        Caption = '&Save'
        Enabled = False
        ImageIndex = 2
        ShortCut = 16467
      end
      object FileSeparator: TMenuItem
        Caption = '-'
      end
      object ToolbarItem: TMenuItem
        Caption = 'Show &toolbar'
        Checked = True
      end
      object RecentMenu: TMenuItem
        Caption = '&Recent pages'
        object RecentFirstItem: TMenuItem
          Caption = '&1 shoes.html'
        end
        object RecentSecondItem: TMenuItem
          Caption = '&2 dresses.html'
        end
      end
      object ExitSeparator: TMenuItem
        Caption = '-'
      end
      object ExitItem: TMenuItem
        Caption = 'E&xit'
        OnClick = ExitItemClick
      end
    end
    object WindowsMenu: TMenuItem
      Caption = '&Windows'
      object DialogItem: TMenuItem
        Caption = '&Dialog...'
        OnClick = DialogButtonClick
      end
      object MessageItem: TMenuItem
        Caption = '&Message box...'
        OnClick = MessageButtonClick
      end
      object MdiItem: TMenuItem
        Caption = 'MDI &windows'
        OnClick = MdiItemClick
      end
    end
    object SkinMenu: TMenuItem
      Caption = '&Skin'
      object SampleSkinItem: TMenuItem
        Caption = '&Azure (built in)'
        Checked = True
        RadioItem = True
        OnClick = SampleSkinClick
      end
      object VariantSkinItem: TMenuItem
        Caption = '&Jade'
        RadioItem = True
        OnClick = VariantSkinClick
      end
      object PackageSkinItem: TMenuItem
        Caption = '&Open package...'
        RadioItem = True
        OnClick = PackageSkinClick
      end
      object SkinSeparator: TMenuItem
        Caption = '-'
      end
      object NoSkinItem: TMenuItem
        Caption = '&No skin'
        RadioItem = True
        OnClick = NoSkinClick
      end
    end
    object HelpMenu: TMenuItem
      Caption = '&Help'
      object AboutItem: TMenuItem
        Caption = '&About'
        OnClick = MessageButtonClick
      end
    end
  end
  object FormPopup: TPopupMenu
    object CutItem: TMenuItem
      Caption = 'Cu&t'
    end
    object CopyItem: TMenuItem
      Caption = '&Copy'
    end
    object PasteItem: TMenuItem
      Caption = '&Paste'
      Enabled = False
    end
    object PopupSeparator: TMenuItem
      Caption = '-'
    end
    object SelectAllItem: TMenuItem
      Caption = 'Select &all'
      Checked = True
    end
    object MenuBarSeparator: TMenuItem
      Caption = '-'
    end
    object MenuBarItem: TMenuItem
      Caption = '&Menu bar'
      Checked = True
      OnClick = MenuBarItemClick
    end
  end
end
