#include "windows/main_template.h"

#include <array>

#include "windows/main_ids.h"

namespace inkmark {
namespace {

using K = ControlKind;
constexpr int kNone = kNoControlId;
constexpr unsigned kLabelV = kStyleVCentered;
constexpr unsigned kOwner = kStyleOwnerDrawn;
constexpr unsigned kTicks = kStyleTicks;

constexpr ControlTemplate kMainControls[] = {
    // Printer panel.
    {kNone, K::kGroupBox, "Printer", 4, 4, 132, 84},
    {kNone, K::kLabel, "Na&me", 9, 12, 20, 12, kLabelV},
    {kIdPrinterName, K::kDropDownList, "", 48, 12, 84, 53},
    {kNone, K::kLabel, "Paper &Width", 8, 27, 39, 12, kLabelV},
    {kIdPaperWidth, K::kDropDownList, "", 48, 27, 84, 53},
    {kNone, K::kLabel, "&1st Color", 9, 42, 30, 12, kLabelV},
    {kIdFirstColor, K::kDropDownList, "", 48, 42, 84, 80, kOwner},
    {kNone, K::kLabel, "&2nd Color", 9, 57, 32, 12, kLabelV},
    {kIdSecondColor, K::kDropDownList, "", 48, 57, 84, 82, kOwner},
    {kNone, K::kLabel, "Resol&ution", 9, 72, 36, 12, kLabelV},
    {kIdResolution, K::kDropDownList, "", 48, 72, 84, 53},
    {kNone, K::kGroupBox, "Interface", 4, 92, 132, 88},
    {kNone, K::kLabel, "P&ort", 8, 104, 14, 12, kLabelV},
    {kIdPort, K::kDropDownList, "", 40, 104, 92, 64},
    {kIdBaudRateLabel, K::kLabel, "B&aud rate", 8, 119, 31, 12, kLabelV},
    {kIdBaudRate, K::kDropDownList, "", 52, 119, 80, 53},
    {kIdDataLengthLabel, K::kLabel, "&Data Length", 8, 134, 41, 12, kLabelV},
    {kIdDataLength, K::kDropDownList, "", 52, 134, 80, 53},
    {kIdParityLabel, K::kLabel, "Parit&y", 8, 149, 18, 12, kLabelV},
    {kIdParity, K::kDropDownList, "", 52, 149, 80, 53},
    {kIdHandshakeLabel, K::kLabel, "&Handshake", 8, 164, 38, 12, kLabelV},
    {kIdHandshake, K::kDropDownList, "", 52, 164, 80, 53},
    {kIdDriverLabel, K::kLabel, "Printer Dri&ver", 9, 120, 42, 8, kLabelV},
    {kIdDriver, K::kDropDownList, "", 8, 132, 124, 30},
    // Commands.
    {kIdNew, K::kPushButton, "&New", 4, 184, 64, 18},
    {kIdPrintToFile, K::kPushButton, "Print to &file...", 68, 184, 68, 18},
    {kIdEdit, K::kPushButton, "&Edit", 4, 202, 64, 18},
    {kIdRegister, K::kPushButton, "&Register to printer...", 68, 202, 68, 18},
    {kIdPreview, K::kPushButton, "&Preview...", 4, 220, 64, 18},
    {kIdControlPrinter, K::kPushButton, "&Control Printer...", 68, 220, 68, 18},
    {kIdTestPrint, K::kPushButton, "&Test Print", 4, 238, 64, 18},
    {kIdExit, K::kDefaultPushButton, "Ex&it", 68, 238, 68, 18},
    // Source and previews.
    {kNone, K::kLabel, "&Source File", 140, 7, 36, 8},
    {kIdSourceEdit, K::kEdit, "", 180, 4, 176, 12, kStyleAutoScroll},
    {kIdBrowse, K::kPushButton, "&Browse...", 360, 4, 41, 13},
    {kIdLeftPreview, K::kSunkenFrame, "", 140, 20, 130, 111},
    {kIdRightPreview, K::kSunkenFrame, "", 272, 20, 130, 111},
    {kIdFitToWidth, K::kCheckBox, "Fit to paper's width", 328, 132, 73, 10},
    {kNone, K::kGroupBox, "Properties", 140, 140, 264, 136},
    // Properties: item list, image and text controls.
    {kIdItemList, K::kDropDownList, "", 144, 136, 101, 87},
    {kIdMonochrome, K::kCheckBox, "Monochrome", 144, 156, 56, 10, kStyleNotify},
    {kIdMonoColor, K::kDropDownList, "", 200, 156, 64, 53, kOwner},
    {kIdItemTextLabel, K::kLabel, "Te&xt", 157, 168, 14, 12},
    {kIdItemText, K::kEdit, "", 192, 168, 187, 12, kStyleAutoScroll},
    {kIdTextColorLabel, K::kLabel, "Co&lor", 157, 192, 18, 12},
    {kIdTextColor, K::kDropDownList, "", 192, 192, 54, 53, kOwner},
    {kIdProcessingLabel, K::kLabel, "Image Processin&g", 144, 176, 60, 8},
    {kIdCoarseLabel, K::kLabel, "Coarse", 144, 188, 24, 11},
    {kIdProcessing, K::kTrackBar, "", 168, 188, 80, 11, kTicks},
    {kIdFineLabel, K::kLabel, "Fine", 248, 188, 15, 11},
    {kIdReviseGroup, K::kGroupBox, "Revise Level", 144, 208, 120, 56},
    {kIdRLabel, K::kLabel, "R", 148, 220, 16, 11, kStyleCentered},
    {kIdAdjustR, K::kTrackBar, "", 164, 220, 96, 11, kTicks},
    {kIdGLabel, K::kLabel, "G", 148, 234, 16, 11, kStyleCentered},
    {kIdAdjustG, K::kTrackBar, "", 164, 234, 96, 11, kTicks},
    {kIdBLabel, K::kLabel, "B", 148, 248, 16, 11, kStyleCentered},
    {kIdAdjustB, K::kTrackBar, "", 164, 248, 96, 11, kTicks},
    // Color Attach.
    {kIdAttachGroup, K::kGroupBox, "Color Attach(at every brightness level)", 268, 148, 132, 124},
    {kIdAutomatic, K::kRadioButton, "Automatic", 276, 160, 47, 10},
    {kIdManual, K::kRadioButton, "Manual", 328, 161, 39, 10},
    {kIdAttachFirstLabel, K::kLabel, "1st Color", 304, 172, 30, 8},
    {kIdAttachSecondLabel, K::kLabel, "2nd Color", 336, 172, 32, 8, kStyleCentered},
    {kIdAttachWhiteLabel, K::kLabel, "White", 372, 172, 19, 8, kStyleRight},
    {1074, K::kLabel, "(Low) 1:", 276, 180, 28, 10, kStyleRight},
    {1070, K::kTrackBar, "", 304, 180, 88, 10, kTicks},
    {1068, K::kLabel, "2:", 276, 191, 28, 10, kStyleRight},
    {1069, K::kTrackBar, "", 304, 191, 88, 10, kTicks},
    {1071, K::kLabel, "3:", 276, 202, 28, 10, kStyleRight},
    {1067, K::kTrackBar, "", 304, 202, 88, 10, kTicks},
    {1072, K::kLabel, "4:", 276, 213, 28, 10, kStyleRight},
    {1065, K::kTrackBar, "", 304, 213, 88, 10, kTicks},
    {1066, K::kLabel, "5:", 276, 224, 28, 10, kStyleRight},
    {1062, K::kTrackBar, "", 304, 224, 88, 10, kTicks},
    {1060, K::kLabel, "6:", 276, 235, 28, 10, kStyleRight},
    {1061, K::kTrackBar, "", 304, 235, 88, 10, kTicks},
    {1063, K::kLabel, "7:", 276, 246, 28, 10, kStyleRight},
    {1057, K::kTrackBar, "", 304, 246, 88, 10, kTicks},
    {1064, K::kLabel, "(High) 8:", 276, 257, 28, 10, kStyleRight},
    {1056, K::kTrackBar, "", 304, 257, 88, 10, kTicks},
};

constexpr DialogTemplate kMain{
    "MAIN", "Quorvel Inkmark Tool Version 1.00", "Arial", 9, 407, 279, kMainControls};

}  // namespace

const DialogTemplate& MainTemplate() { return kMain; }

}  // namespace inkmark
