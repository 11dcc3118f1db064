// The program's web pages: the start page is the notice page.
#pragma once

#include <string_view>

namespace composer {

inline constexpr std::wstring_view kWebSite = L"http://www.scrivane.example/";
inline constexpr std::wstring_view kNoticePage = L"http://www.scrivane.example/notice.html";
inline constexpr std::wstring_view kVideoPage = L"http://www.scrivane.example/video.html";
inline constexpr std::wstring_view kDownloadPage = L"http://www.scrivane.example/download.html";

}  // namespace composer
