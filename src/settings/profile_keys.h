// The names of a printer's values, the same in printer files and in the saved
// settings.
#pragma once

namespace inkmark::profile_keys {

inline constexpr char kPrnName[] = "PrnName";
inline constexpr char kPaperWidth[] = "PaperWidth";
inline constexpr char kPaperDot[] = "PaperDot";
inline constexpr char kFirstColor[] = "1stColor";
inline constexpr char kSecondColor[] = "2ndColor";
inline constexpr char kResolution[] = "Resolution";
inline constexpr char kPort[] = "Port";
inline constexpr char kBaudRate[] = "BaudRate";
inline constexpr char kBitLength[] = "BitLength";
inline constexpr char kParity[] = "Parity";
inline constexpr char kFlow[] = "Flow";

}  // namespace inkmark::profile_keys
