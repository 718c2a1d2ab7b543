#pragma once

#include "catalogs/groups_screens.h"
#include "catalogs/operations_screens.h"
#include "catalogs/products_screens.h"
#include "catalogs/types_screens.h"
#include "catalogs/workers_screens.h"
#include "register/distribution_screens.h"
#include "register/position_editor.h"
#include "register/register_screen.h"
#include "register/value_dialog.h"
#include "spreadsheet/spreadsheet_writer.h"

namespace sdelka {

// Every screen besides the register and the login window, created once and kept until the
// program ends, and handed to the register, which opens them.
class ProgramScreens {
public:
    ProgramScreens(TDataModule6& dm, TForm1& reg);

    // The writer of the prices and the summary reports, kept for the whole run.
    SpreadsheetWriter sharedWriter;
    TForm2 workerEditor;
    TForm7 productEditor;
    TForm3 products;
    TForm10 operationEditor;
    TForm22 norms;
    TForm4 operations;
    TForm5 workers;
    TForm9 typeEditor;
    TForm8 types;
    TForm132 hoursDialog;
    TForm11 positionEditor;
    TForm29 groupEditor;
    TForm26 groups;
    TForm134 groupChooser;
    TForm33 distribution;
};

} // namespace sdelka
