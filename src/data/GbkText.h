#pragma once
// The model keeps texts as the GBK bytes the files hold. These are the few fixed
// GBK pieces the data layer itself has to produce.

namespace ohmlet::gbk {

inline constexpr char kYear[] = "\xC4\xEA";   // 年
inline constexpr char kMonth[] = "\xD4\xC2";  // 月
inline constexpr char kDay[] = "\xC8\xD5";    // 日

}  // namespace ohmlet::gbk
