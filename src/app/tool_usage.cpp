#include "app/startup.h"

namespace inkmark {

const char kToolUsage[] =
    "usage: InkmarkTool [-pnMODEL] [-pwWIDTH] [-pfCOLOUR] [-psCOLOUR] [-prDOTS]\n"
    "                   [-cbBAUD] [-ccPARITY] [-cfHANDSHAKE] [-cpPORT]\n"
    "Turns a picture or a logo document into a two-colour logo, test-prints it and\n"
    "registers it in the receipt printer's NV graphics memory.\n"
    "\n"
    "The options choose the printer and its settings at start-up. Each value\n"
    "follows its option without a blank (-pw80, not -pw 80); names are compared\n"
    "without regard to case, and a value that names nothing is ignored.\n"
    "  -pnMODEL      the printer model; the maker's prefix may drop its hyphen\n"
    "                (-pnDT500/510 picks DT-500/510)\n"
    "  -pwWIDTH      the paper width without \"mm\": -pw80, -pw58, -pw58JP\n"
    "  -pfCOLOUR     the 1st colour, as the printer file names it (-pfBlack)\n"
    "  -psCOLOUR     the 2nd colour; ignored when it is the 1st colour\n"
    "  -prDOTS       the resolution in dots per inch (-pr180)\n"
    "  -cbBAUD       the baud rate of a serial port (-cb9600)\n"
    "  -ccPARITY     the parity of a serial port (-ccNone)\n"
    "  -cfHANDSHAKE  the handshake of a serial port (-cfDTR/DSR)\n"
    "  -cpPORT       the port (-cpCOM1); all the rest of the command line is\n"
    "                matched against the port names, so give it last\n"
    "  --help        show this text\n"
    "  --version     show the version\n"
    "When an option chose something, the saved printer settings are left aside\n"
    "for this run; otherwise they are restored as usual.\n";

}  // namespace inkmark
