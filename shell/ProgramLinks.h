#pragma once
// The addresses the program links to: the about box's link areas and the Help menu's web site
// item. They are placeholders under the reserved .example domain until the real ones exist;
// the about picture (resources/pictures/Splash.bmp) shows the same words.

namespace gw {

inline constexpr char16_t kMakerWebSite[] = u"https://www.vantorel.example/glyphwell/";
inline constexpr char16_t kUsersGroupPage[] = u"https://groups.vantorel.example/glyphwell-users";
inline constexpr char16_t kMakerMail[] = u"mailto:glyphwell@vantorel.example";
// Where more language modules and a template for one's own can be downloaded.
inline constexpr char16_t kLanguagesPage[] = u"https://www.vantorel.example/glyphwell/languages/";

} // namespace gw
