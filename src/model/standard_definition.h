// Standard definition files: the rows a new table of a kind starts with, shipped beside the
// program in "Muhasebe Parametre" ("BILANCO.txt" for a balance sheet, "TORVIKA.txt" for an
// income statement), in the Turkish code page. One row per line, read up to a line "<END>" (in
// any letter case, nothing else on the line). Every field ends with ";" and field k goes to
// column k of the definition grid (Satir_No, Satir_Tipi, Satir_Kodu, Satir_Adi, Satir_Seviyesi,
// Rapor_Yeri, the four options, MHesap_KodBas, MHesap_KodBit, Satir_ID, Tutar, Formul); the
// sixth field, the placement, picks the grid, so the lines come grouped by placement 1, 2, 3.
#pragma once

#include <QString>

#include "model/financial_table.h"

struct AppState;

// Appends the rows of a standard definition text to the grids. Takes text only, so it
// can be driven by a fuzzer.
void Read_Standard_Definition(const QString& text, DefinitionGrids& grids);
// Fills the grids of a new table of `kind` from its kind's file under the program's folder; false
// when the kind has no file or the file cannot be read (the latter is shown to the user).
bool Load_Standard_Definition(AppState& state, int kind, DefinitionGrids& grids);
