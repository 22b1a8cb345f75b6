#pragma once
// Identifiers in sim/stores/uefi-win11.txt, the store most platform and end-to-end tests start from.
#include <string>

namespace zel::test {

inline const std::wstring kSampleWin11 = L"{4b91442f-227f-45a6-a76f-4b17f619a5e3}";
inline const std::wstring kSamplePe = L"{6735cfd9-5c9a-4f12-af7f-fb01c27d6eaf}";
inline const std::wstring kSamplePeOptions = L"{9a263024-18d9-496e-a05b-438c0eb9470f}";
inline const std::wstring kSampleMemtest = L"{b2721d73-1db4-4c62-bf78-c548a880142d}";
inline const std::wstring kSampleRecovery = L"{c772845f-b0ee-478b-96b6-3833ed5bc3ac}";

}  // namespace zel::test
