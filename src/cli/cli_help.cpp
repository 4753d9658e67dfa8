// The text of --help: every command and option.
#include "cli/cli_options.h"
#include "platform/translation.h"

namespace inkmark::cli {

std::string UsageText() {
  return Translate("inkmark", R"(Usage: inkmark [options] COMMAND [operands]

Converts pictures and logo documents into two-colour logos for the printer, and
manages the logos stored in the printer's NV graphics memory.

Commands:
  printers                          list the printer models with their choices;
                                    '*' marks the current choice of each list
  raster SOURCE -o FILE             write the print raster as a bitmap file
  command-file SOURCE -k KEY -o FILE
                                    write the printer commands that register
                                    the logo under KEY into FILE
  register SOURCE -k KEY            register the logo in NV memory under KEY;
                                    a key already stored is refused unless
                                    --if-changed or --replace says otherwise
  test-print SOURCE                 print the logo once
  keys                              list the stored keys, one per line
  capacity                          print the remaining NV capacity in bytes
  print KEY...                      print the logos stored under the keys
  delete [--yes] KEY...             delete the logos stored under the keys,
                                    asking for each on the terminal unless --yes
  preview SOURCE                    print the logo's size in mm and dots and
                                    the share of each ink
  status                            show whether the printer is reached, its
                                    free NV capacity and each stored key with
                                    what the ledger knows of it
  ledger                            show the ledger's registrations and
                                    deletions, oldest first

SOURCE is a picture (.BMP, .RLE, .JPG, .PNG, .GIF, .SVG) or a logo document
(.QLF), by its extension. Transparent parts of a picture print as white paper;
an SVG is drawn at the paper's width (--fit) or at its own size. A KEY is two
characters from 0x20 to 0x7E, such as AB or 01.

Printer options (default: the saved settings, else the printer file's defaults):
  --printer NAME       the printer model, as 'inkmark printers' lists it
  --paper NAME         paper width, such as 80mm
  --first COLOR        the 1st colour
  --second COLOR       the 2nd colour, or None
  --resolution DPI     print resolution
  --port NAME          COM1..COM4, LPT1 or the printer driver port, or a
                       network printer tcp://HOST[:PORT] (port 9100 when left
                       out; an IPv6 HOST in brackets) with any model
  --baud N             serial port speed
  --data-bits N        serial data bits
  --parity NAME        serial parity: None, Even or Odd
  --flow NAME          serial flow control: DTR/DSR or XON/XOFF
  --driver NAME        spooler printer of the driver port
  --printers-dir DIR   where the *.DEF printer files are (default: beside
                       the program, else the installed ones)
A value the chosen model does not offer is refused with the model's choices.

Many printers at once (register, test-print, keys, capacity, print, delete,
status):
  --port NAME          given more than once: the command runs on each port
  --printers-list FILE one printer a line: PORT [OPTION VALUE]..., with any
                       printer option but --port; a value with blanks is
                       written in double quotes, a line starting with '#'
                       is a comment
  --jobs N             how many printers at a time, 1 to 64 (default 4)
  --deadline SECONDS   stop a printer's run that has not ended after this
                       long, 1 to 86400 (default: a minute, and for register
                       and test-print twice the time the largest logo takes
                       at the line's speed on top)
Each printer gets one line: its port, ok or failed, and its output or why it
failed, separated by tabs; a summary follows. delete needs --yes. The exit
status is 0 only when every printer succeeded. status writes its own lines.

Conversion options (for the commands that take a SOURCE):
  --fit                          fit the logo to the paper's width
  --mono 1|2                     Monochrome in the 1st or the 2nd colour
  --grade coarse|middle|fine     image processing grade (default coarse)
  --rgb R,G,B                    revise levels of red, green and blue, each 1-5
                                 (default 3,3,3)
  --attach auto|manual:L1,L2,L3,L4,L5,L6,L7,L8
                                 colour attachment of the eight brightness
                                 levels, darkest first: 1 (1st colour),
                                 2 (2nd colour) or w (white); manual needs the
                                 coarse grade, and with --mono a level is 1 or w

The ledger records every registration (printer, model, key, the print raster
and its SHA-256, the source's name and SHA-256, time, user) and deletion:
  --ledger FILE        the ledger to use (default:
                       $XDG_DATA_HOME/inkmark/ledger.sqlite, else
                       ~/.local/share/inkmark/ledger.sqlite); created when
                       missing; one that cannot be used stops no printer
                       command, which then says it is not recorded
  --name NAME          the printer's name in the ledger instead of its port;
                       in a printers list, on the printer's own line
  --if-changed         register: a printer holding, by the ledger, this very
                       logo under KEY is left alone and reported unchanged;
                       one holding another logo fails, unless --replace
  --replace            register: a stored KEY is deleted and defined anew; if
                       the define fails, the previous logo is put back from
                       the ledger; a logo the ledger does not know is left
                       alone unless --yes
  --since TIME         ledger: entries from TIME on, as YYYY-MM-DD,
                       YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS in UTC
ledger takes --port or --name and -k KEY to show one printer or one key.

Other options:
  -o, --output FILE    the file that raster and command-file write
  -k, --key KEY        the key that command-file and register use
  --yes                delete without asking; with register --replace,
                       replace a logo the ledger does not know
  --json               write the result of printers, keys, capacity, preview,
                       status, ledger or of many printers as one JSON document
  --version            show the version
  -h, --help           show this text

Options may also be written --option=VALUE; '--' ends the options.
Long transfers show their progress on standard error when it is a terminal.

Exit status: 0 success, 1 the operation failed, 2 a usage error.
)");
}

}  // namespace inkmark::cli
