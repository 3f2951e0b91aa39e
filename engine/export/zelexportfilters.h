#pragma once
/// \file

/// Makes the export filters of the library known (PDF, PNG and SVG), once;
/// each enters the list of export filters, where menus and the command-line
/// tool find it by its extension.
void zelRegisterExportFilters();
