// Builders of the four tabs of the main window. Each places its controls on
// the tab page (a plain widget; positions are relative to their container).
#pragma once

#include <string_view>
#include <vector>

#include "ui/control_builder.h"

class QButtonGroup;
class QWidget;

namespace vantel::ui {

// Tab "VantEL": panels Panel2 (steps, single run) and Panel1 (data file,
// results), the series list between them. The six radio buttons join `methods`.
void build_vantel_tab(Builder& builder, QWidget* page, QButtonGroup* methods);
// Tab "Manual": Memo1 with the user manual.
void build_manual_tab(Builder& builder, QWidget* page);
// Tab "About": Memo2 with the program information.
void build_about_tab(Builder& builder, QWidget* page);
// Tab "Init": init file, batch results, data-folder listing, all-files button.
void build_init_tab(Builder& builder, QWidget* page);

// The fixed texts of Memo1 (29 lines) and Memo2 (10 lines).
const std::vector<std::string_view>& manual_lines();
const std::vector<std::string_view>& about_lines();

}  // namespace vantel::ui
