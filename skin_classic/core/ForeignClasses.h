// Window classes of other code that the manager tests for by name, in one place beside the
// Skin3rd list (SkinThirdParty.cpp). Names compare exactly unless a table says otherwise.
#pragma once

#include <array>
#include <string_view>

namespace winskin::foreign_classes {

// The system's dialog class and the message-box form class (lower case).
inline constexpr std::array<std::wstring_view, 2> kDialogs = {L"tmessageform", L"#32770"};
inline constexpr std::wstring_view kSystemDialog = L"#32770";
// The system's popup menu window.
inline constexpr std::wstring_view kPopupMenu = L"#32768";
// A form's size grip is a scroll bar window with SBS_SIZEGRIP (letter case ignored).
inline constexpr std::wstring_view kScrollBar = L"ScrollBar";
// The client window of an MDI frame (lower case).
inline constexpr std::wstring_view kMdiClient = L"mdiclient";
// Top-level windows never skinned: any class containing one of the first, and the hidden
// application window.
inline constexpr std::array<std::wstring_view, 2> kNeverSkinnedParts = {L"TcxPopupEditPopupWindow",
                                                                         L"TTERenderWindow"};
inline constexpr std::wstring_view kApplicationWindow = L"TApplication";
// Left alone by the filter: print previews unless the skin data's options ask for them (any
// class containing the part, lower case), and this tree view's popup (lower case).
inline constexpr std::wstring_view kPreviewPart = L"preview";
inline constexpr std::wstring_view kPopupDbTreeView = L"tpopupdbtreeview";

}  // namespace winskin::foreign_classes
