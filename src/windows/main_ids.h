// Control IDs of the main window; its handlers and its template share them.
#pragma once

namespace inkmark {

enum MainControlId : int {
  kIdExit = 1,
  kIdSourceEdit = 1001,
  kIdBrowse = 1002,
  kIdPrinterName = 1003,
  kIdPaperWidth = 1004,
  kIdFirstColor = 1005,
  kIdSecondColor = 1006,
  kIdPort = 1009,
  kIdBaudRate = 1010,
  kIdDataLength = 1011,
  kIdParity = 1012,
  kIdHandshake = 1013,
  kIdMonochrome = 1014,
  kIdMonoColor = 1015,
  kIdFitToWidth = 1016,
  kIdProcessing = 1018,
  kIdNew = 1019,
  kIdEdit = 1020,
  kIdPreview = 1021,
  kIdTestPrint = 1022,
  kIdPrintToFile = 1023,
  kIdRegister = 1024,
  kIdControlPrinter = 1025,
  kIdProcessingLabel = 1027,
  kIdCoarseLabel = 1029,
  kIdFineLabel = 1030,
  kIdItemList = 1036,
  kIdItemText = 1037,
  kIdItemTextLabel = 1038,
  kIdTextColor = 1039,
  kIdTextColorLabel = 1040,
  kIdLeftPreview = 1041,
  kIdRightPreview = 1042,
  kIdBaudRateLabel = 1043,
  kIdDataLengthLabel = 1044,
  kIdParityLabel = 1045,
  kIdHandshakeLabel = 1046,
  kIdResolution = 1048,
  kIdRLabel = 1050,
  kIdAdjustR = 1051,
  kIdAdjustB = 1052,
  kIdAdjustG = 1053,
  kIdGLabel = 1054,
  kIdBLabel = 1055,
  kIdDriver = 1058,
  kIdDriverLabel = 1059,
  kIdReviseGroup = 1092,
  kIdAttachGroup = 1093,
  kIdAttachFirstLabel = 1094,
  kIdAttachSecondLabel = 1095,
  kIdAttachWhiteLabel = 1096,
  kIdAutomatic = 1097,
  kIdManual = 1098,
};

// The eight level sliders and their labels, level 1 (darkest) first.
// The Port list's last entry, which asks for a network printer's address, and
// the hint shown when what was typed is none.
inline constexpr char kNetworkEntry[] = "Network...";
inline constexpr char kNetworkAddressHint[] =
    "Input the printer's address as tcp://HOST:PORT, such as tcp://192.168.0.50:9100.";
// Asked before Edit when a document's text was changed in the window.
inline constexpr char kDiscardTextQuestion[] =
    "The text changed in this window is not in the file, and the editor opens the file as "
    "saved.\nDiscard the changes and edit the file?";

inline constexpr int kLevelSliderIds[8] = {1070, 1069, 1067, 1065, 1062, 1061, 1057, 1056};
inline constexpr int kLevelLabelIds[8] = {1074, 1068, 1071, 1072, 1066, 1060, 1063, 1064};

// The level (0-7) of a level slider, or -1 for any other control.
constexpr int LevelOfSlider(int id) {
  for (int i = 0; i < 8; ++i)
    if (kLevelSliderIds[i] == id) return i;
  return -1;
}

}  // namespace inkmark
