#include "skin_layered/paint/text/HtmlEntities.h"

#include <array>

namespace skin_layered {
namespace {

// The characters above U+00FF are those a Windows-1252 text would hold in 0x80..0x9F.
constexpr std::array<THtmlEntity, 87> kEntities{{
    {L"ndash", L"#8211", L'\u2013'},  {L"mdash", L"#8212", L'\u2014'},  {L"nbsp", L"#160", L'\u00A0'},
    {L"iexcl", L"#161", L'\u00A1'},   {L"iquest", L"#191", L'\u00BF'},  {L"quot", L"#34", L'"'},
    {L"ldquo", L"#8220", L'\u201C'},  {L"rdquo", L"#8221", L'\u201D'},  {L"39", L"#39", L'\''},
    {L"lsquo", L"#8216", L'\u2018'},  {L"rsquo", L"#8217", L'\u2019'},  {L"laquo", L"#171", L'\u00AB'},
    {L"raquo", L"#187", L'\u00BB'},   {L"amp", L"#38", L'&'},           {L"cent", L"#162", L'\u00A2'},
    {L"copy", L"#169", L'\u00A9'},    {L"divide", L"#247", L'\u00F7'},  {L"gt", L"#62", L'>'},
    {L"lt", L"#60", L'<'},            {L"micro", L"#181", L'\u00B5'},   {L"middot", L"#183", L'\u00B7'},
    {L"para", L"#182", L'\u00B6'},    {L"plusmn", L"#177", L'\u00B1'},  {L"euro", L"#8364", L'\u20AC'},
    {L"pound", L"#163", L'\u00A3'},   {L"reg", L"#174", L'\u00AE'},     {L"sect", L"#167", L'\u00A7'},
    {L"trade", L"#153", L'\u2122'},   {L"yen", L"#165", L'\u00A5'},     {L"szlig", L"#223", L'\u00DF'},
    {L"yuml", L"#255", L'\u00FF'},    {L"aacute", L"#225", L'\u00E1'},  {L"Aacute", L"#193", L'\u00C1'},
    {L"agrave", L"#224", L'\u00E0'},  {L"Agrave", L"#192", L'\u00C0'},  {L"acirc", L"#226", L'\u00E2'},
    {L"Acirc", L"#194", L'\u00C2'},   {L"aring", L"#229", L'\u00E5'},   {L"Aring", L"#197", L'\u00C5'},
    {L"atilde", L"#227", L'\u00E3'},  {L"Atilde", L"#195", L'\u00C3'},  {L"auml", L"#228", L'\u00E4'},
    {L"Auml", L"#196", L'\u00C4'},    {L"aelig", L"#230", L'\u00E6'},   {L"AElig", L"#198", L'\u00C6'},
    {L"ccedil", L"#231", L'\u00E7'},  {L"Ccedil", L"#199", L'\u00C7'},  {L"eacute", L"#233", L'\u00E9'},
    {L"Eacute", L"#201", L'\u00C9'},  {L"egrave", L"#232", L'\u00E8'},  {L"Egrave", L"#200", L'\u00C8'},
    {L"ecirc", L"#234", L'\u00EA'},   {L"Ecirc", L"#202", L'\u00CA'},   {L"euml", L"#235", L'\u00EB'},
    {L"Euml", L"#203", L'\u00CB'},    {L"iacute", L"#237", L'\u00ED'},  {L"Iacute", L"#205", L'\u00CD'},
    {L"igrave", L"#236", L'\u00EC'},  {L"Igrave", L"#204", L'\u00CC'},  {L"icirc", L"#238", L'\u00EE'},
    {L"Icirc", L"#206", L'\u00CE'},   {L"iuml", L"#239", L'\u00EF'},    {L"Iuml", L"#207", L'\u00CF'},
    {L"ntilde", L"#241", L'\u00F1'},  {L"Ntilde", L"#209", L'\u00D1'},  {L"oacute", L"#243", L'\u00F3'},
    {L"Oacute", L"#211", L'\u00D3'},  {L"ograve", L"#242", L'\u00F2'},  {L"Ograve", L"#210", L'\u00D2'},
    {L"ocirc", L"#244", L'\u00F4'},   {L"Ocirc", L"#212", L'\u00D4'},   {L"oslash", L"#248", L'\u00F8'},
    {L"Oslash", L"#216", L'\u00D8'},  {L"otilde", L"#245", L'\u00F5'},  {L"Otilde", L"#213", L'\u00D5'},
    {L"ouml", L"#246", L'\u00F6'},    {L"Ouml", L"#214", L'\u00D6'},    {L"uacute", L"#250", L'\u00FA'},
    {L"Uacute", L"#218", L'\u00DA'},  {L"ugrave", L"#249", L'\u00F9'},  {L"Ugrave", L"#217", L'\u00D9'},
    {L"ucirc", L"#251", L'\u00FB'},   {L"Ucirc", L"#219", L'\u00DB'},   {L"uuml", L"#252", L'\u00FC'},
    {L"Uuml", L"#220", L'\u00DC'},    {L"#180", L"#180", L'\u00B4'},    {L"#96", L"#96", L'`'},
}};

}  // namespace

std::optional<wchar_t> FindHtmlEntity(std::wstring_view Name) {
  for (const THtmlEntity& e : kEntities)
    if (e.Name == Name || e.Numeric == Name) return e.Char;
  return std::nullopt;
}

std::span<const THtmlEntity> HtmlEntities() { return kEntities; }

}  // namespace skin_layered
