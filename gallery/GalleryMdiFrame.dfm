object GalleryMdiFrame: TGalleryMdiFrame
  Left = 900
  Top = 16
  Caption = 'MDI frame'
  ClientHeight = 420
  ClientWidth = 620
  Color = clAppWorkSpace
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  FormStyle = fsMDIForm
  Menu = FrameMenu
  WindowMenu = WindowMenu
  object FrameMenu: TMainMenu
    object FrameSkinMenu: TMenuItem
      Caption = '&Skin'
      Visible = False
    end
    object WindowMenu: TMenuItem
      Caption = '&Window'
      object TileItem: TMenuItem
        Caption = '&Tile'
        OnClick = TileItemClick
      end
      object CascadeItem: TMenuItem
        Caption = '&Cascade'
        OnClick = CascadeItemClick
      end
    end
  end
end
