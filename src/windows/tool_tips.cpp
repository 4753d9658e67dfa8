#include "windows/tool_tips.h"

#include "windows/key_entry_template.h"
#include "windows/main_ids.h"
#include "windows/nv_manager_template.h"

namespace inkmark {
namespace {

constexpr char kLevelTip[] =
    "The ink this brightness level prints in: the 1st color, the 2nd color or none (white).";

constexpr ControlTip kMainTips[] = {
    {kIdPrinterName,
     "The printer model. Its printer file sets the paper widths, inks, "
     "resolutions and ports offered below."},
    {kIdPaperWidth, "The width of the paper in the printer; the logo is made to fit it."},
    {kIdFirstColor, "The printer's first ink."},
    {kIdSecondColor, "The printer's second ink, or None for a printer with one ink."},
    {kIdResolution, "The printer's resolution in dots per inch; the logo is made for it."},
    {kIdPort,
     "Where the printer is connected: a serial or parallel port, the printer's "
     "driver, or a network address (Network...)."},
    {kIdBaudRate, "The speed of the serial line. It must match the printer's setting."},
    {kIdDataLength,
     "Data bits per character on the serial line. It must match the printer's "
     "setting."},
    {kIdParity, "The parity of the serial line. It must match the printer's setting."},
    {kIdHandshake,
     "How the printer holds data back while it is busy. It must match the "
     "printer's setting."},
    {kIdDriver, "The system's printer queue for this printer."},
    {kIdNew, "Opens the editor on a new logo document as wide as the paper."},
    {kIdPrintToFile,
     "Saves the logo as a bitmap, or as a file of printer commands that "
     "registers it."},
    {kIdEdit, "Opens the logo document in the editor."},
    {kIdRegister, "Stores the logo in the printer's memory under a key of two characters."},
    {kIdPreview, "Shows the logo as it will print, dot for dot, with its size and ink rates."},
    {kIdControlPrinter, "Lists the logos stored in the printer, to print or delete them."},
    {kIdTestPrint, "Prints the logo once, without storing it in the printer."},
    {kIdExit, "Keeps the printer settings for next time and closes the program."},
    {kIdSourceEdit,
     "The picture or logo document to print. Type its path, or drop the file on "
     "the window."},
    {kIdBrowse, "Chooses a picture or logo document."},
    {kIdLeftPreview, "The picture as it was read."},
    {kIdRightPreview, "The logo as the printer will print it, in its inks."},
    {kIdFitToWidth, "Scales the picture to the whole width of the paper."},
    {kIdItemList, "The item of the logo document to set: a picture or a text."},
    {kIdMonochrome, "Prints the picture in one ink only."},
    {kIdMonoColor, "The ink a monochrome picture prints in."},
    {kIdItemText, "The text of the item, at most 40 bytes."},
    {kIdTextColor, "The ink the text prints in."},
    {kIdProcessing,
     "How shades become dots: Coarse gives each dot its ink by brightness, the "
     "finer grades scatter dots to show shades."},
    {kIdAdjustR, "How much the red of the picture counts toward its darkness (3 is neutral)."},
    {kIdAdjustG, "How much the green of the picture counts toward its darkness (3 is neutral)."},
    {kIdAdjustB, "How much the blue of the picture counts toward its darkness (3 is neutral)."},
    {kIdAutomatic, "Each dot takes its ink from its color and brightness."},
    {kIdManual, "You choose the ink of each brightness level with the sliders below."},
    {kLevelSliderIds[0], kLevelTip},
    {kLevelSliderIds[1], kLevelTip},
    {kLevelSliderIds[2], kLevelTip},
    {kLevelSliderIds[3], kLevelTip},
    {kLevelSliderIds[4], kLevelTip},
    {kLevelSliderIds[5], kLevelTip},
    {kLevelSliderIds[6], kLevelTip},
    {kLevelSliderIds[7], kLevelTip},
};

constexpr ControlTip kKeyEntryTips[] = {
    {kKeyEntryEdit, "Two characters from space to tilde (~) that name the logo in the printer."},
    {kKeyEntryExecute,
     "Registers the logo under this key; a key the printer already has is "
     "refused."},
    {kKeyEntryStop, "Closes the window without registering anything."},
};

constexpr ControlTip kNvManagerTips[] = {
    {kNvKeyList,
     "The keys of the logos stored in the printer. Select the ones to print or "
     "delete."},
    {kNvGetKeys, "Asks the printer for the keys of the logos it stores."},
    {kNvSelectAll, "Selects every key in the list."},
    {kNvRemoveSelect, "Clears the selection."},
    {kNvPrint, "Prints the logos of the selected keys."},
    {kNvDelete, "Deletes the logos of the selected keys from the printer, asking for each."},
    {kNvClose, "Closes the window."},
};

}  // namespace

std::span<const ControlTip> MainToolTips() { return kMainTips; }
std::span<const ControlTip> KeyEntryToolTips() { return kKeyEntryTips; }
std::span<const ControlTip> NvManagerToolTips() { return kNvManagerTips; }

const char* ToolTipOf(std::span<const ControlTip> tips, int id) {
  for (const ControlTip& tip : tips)
    if (tip.id == id) return tip.text;
  return nullptr;
}

}  // namespace inkmark
