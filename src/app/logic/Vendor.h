// The vendor's web site: status text, start page and product page.
#pragma once

inline constexpr char kVendorSite[] = "www.tarnwick.example";
inline constexpr wchar_t kStartPageUrl[] = L"http://www.tarnwick.example/tarnwick.asp";
inline constexpr char kProductPageUrl[] = "http://www.tarnwick.example/soft.asp";
