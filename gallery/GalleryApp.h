// The gallery program: its command line, the classic skin it wears and the page it opens.
//
//   skingallery [--classic FILE] [--layered PATH] [--page NAME] [--shot FILE.png [--windows FILE]]
//
// --classic skins every window with that package (default: the sample skin built into the
// program; its variant Jade is written beside it); a package the engine cannot read is
// reported and the gallery runs unskinned. The main form's Skin menu switches packages at run
// time or unskins every window.
// --page opens one page: all (the default: the main form and the MDI frame with two documents;
// the modal dialog opens from the main form's button or its Windows menu), controls, dialog
// (the modal dialog over the main form), messagebox, mdi, popup, menus (the main form's File
// menu dropped from its menu bar), scrolling (the layered page with the form larger inside
// than its window beside it), messageboxes (the layered page with message boxes of every icon
// kind and none with each button set, two at a time), commondialogs (the layered page with the
// system's Open, Find and Replace dialogs, then its Font, Colour and Save dialogs), or
// layered: the layered engine's page, under the layered skin
// --layered names (a skin folder or a ".pmz" pack; default: the sample layered skin the build
// writes beside the program); --layered alone opens that page, with --page mdi the MDI frame
// and its documents under that skin. --shot writes a screenshot of
// the gallery's windows once it is idle, then ends the program; --windows also writes the list of
// the windows the picture holds (GalleryWindows.h), for a program that judges the picture. Some
// pages go on as a user would and take more pictures (GalleryShot.h, AddShotStep): controls
// and layered every check mark turned over; dialogs with its message box closed, the property
// sheet's second page chosen, then the focus moved round each dialog and "No skin" and back;
// messageboxes each pair of boxes, then the focus moved round the last box and "No skin" and
// back; commondialogs each set of dialogs, then the same moves.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gallery {

enum class Page {
  All, Controls, Dialog, MessageDialog, Mdi, Popup, Menus, Scrolling, Layered, LayeredDialogs, LayeredBorders,
  LayeredMessageBoxes, LayeredCommonDialogs
};

struct Options {
  std::optional<std::wstring> classicFile;
  std::optional<std::wstring> layeredPath;
  Page page = Page::All;
  std::optional<std::wstring> shotFile;
  std::optional<std::wstring> windowList;
};

// Options from the arguments (without the program name); nothing and a reason for a command
// line the gallery does not take.
std::optional<Options> ParseOptions(const std::vector<std::wstring>& Arguments, std::wstring& Error);
std::optional<Page> PageNamed(std::wstring_view Name);

// The command line the gallery takes, with every page name, for an error message.
std::wstring Usage();

// Builds the windows, applies the skin, opens the page and runs the program; the exit code.
int RunGallery(const Options& Options);

}  // namespace gallery
