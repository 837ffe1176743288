// Tab "VantEL": the working tab.
#include <QButtonGroup>
#include <QFrame>
#include <QRadioButton>
#include <QWidget>

#include "ui/tabs.h"

namespace vantel::ui {

namespace {

constexpr Control_font Bold_16{16, true};
constexpr Control_font Bold_21{21, true};
constexpr Control_font Plain_16{16, false};
constexpr Control_font Plain_20{20, false};

// Left panel: the nine steps and the single run.
void build_steps_panel(Builder& b, QWidget* panel, QButtonGroup* methods)
{
    b.label(panel, Control::Label2, {16, 8, 294, 20}, Bold_16);
    b.button(panel, Control::Button_Step_1, {16, 32, 217, 25});
    b.button(panel, Control::Button_Step_2, {16, 64, 217, 25});
    b.button(panel, Control::Button_Step_3, {16, 96, 217, 25});
    b.button(panel, Control::Button_Step_4, {16, 128, 217, 25});
    b.button(panel, Control::Button_Step_5, {16, 160, 217, 25});
    b.button(panel, Control::Button_Step_6, {16, 192, 217, 25});
    b.edit(panel, Control::Edit_epoch, {240, 192, 57, 28}, Bold_16);
    b.button(panel, Control::Button_Step_7, {16, 224, 217, 25});
    b.button(panel, Control::Button_Step_8, {16, 256, 217, 25});
    b.button(panel, Control::Button_Step_9, {16, 288, 217, 25});
    b.label(panel, Control::Label2_N, {240, 40, 20, 13});
    b.label(panel, Control::Label_load_status, {240, 64, 9, 13});
    b.progress_bar(panel, Control::ProgressBar1, {240, 80, 70, 17});
    const Control radios[] = {Control::RadioButton1, Control::RadioButton2, Control::RadioButton3,
                              Control::RadioButton4, Control::RadioButton5, Control::RadioButton6};
    for (int k = 1; k <= 6; ++k)
        b.radio(panel, radios[k - 1], {240, 232 + 16 * (k - 1), 65, 17}, methods);
    methods->buttons().at(4)->setChecked(true);  // "Method 5"
    b.label(panel, Control::Label_epoch, {96, 328, 130, 20}, Bold_16);
    b.label(panel, Control::Label1, {8, 352, 88, 25}, Bold_21);
    b.edit(panel, Control::Edit_Vantel, {96, 352, 89, 33}, Bold_21);
    b.button(panel, Control::Button8, {96, 384, 89, 25});
    b.button(panel, Control::Button_start, {200, 376, 113, 33});
    b.button(panel, Control::Button11, {200, 416, 113, 33});
    b.label(panel, Control::Label_Time, {8, 432, 80, 13});
}

// Right panel: data file, columns, results.
void build_data_panel(Builder& b, QWidget* panel)
{
    b.label(panel, Control::Label3, {16, 8, 338, 20}, Bold_16);
    b.button(panel, Control::Open_file_button, {8, 32, 75, 25});
    b.button(panel, Control::Button_start_all, {120, 32, 121, 25});
    b.button(panel, Control::Button10, {264, 32, 75, 25});
    b.label(panel, Control::Label_total_lines, {8, 58, 54, 13});
    b.label(panel, Control::Label_Time_all, {160, 64, 80, 13});
    b.label(panel, Control::Label_number_of_columns, {8, 72, 97, 13});
    b.memo(panel, Control::Memo_user_data, {8, 88, 337, 169}, Scroll_bars::both);
    b.label(panel, Control::Label74, {8, 272, 35, 13});
    b.edit(panel, Control::Edit_column, {48, 264, 49, 28}, Plain_16);
    b.button(panel, Control::Button_column_show, {104, 264, 49, 25});
    b.label(panel, Control::Label_N, {204, 272, 14, 13});
    b.edit(panel, Control::Edit_N, {232, 264, 57, 28}, Plain_16);
    b.label(panel, Control::Label4, {152, 288, 53, 20}, Bold_16);
    b.label(panel, Control::Label11, {9, 304, 6, 13});
    b.label(panel, Control::Label7, {8, 320, 202, 13});
    b.button(panel, Control::Button_copy_result, {216, 320, 129, 17});
    b.memo(panel, Control::Memo_Result, {8, 336, 337, 113}, Scroll_bars::both);
}

}  // namespace

void build_vantel_tab(Builder& b, QWidget* page, QButtonGroup* methods)
{
    build_steps_panel(b, b.panel(page, "Panel2", {0, 8, 321, 457}), methods);
    b.label(page, Control::Label5, {352, 8, 115, 20}, Bold_16);
    b.label(page, Control::Label8, {344, 32, 6, 13});
    b.label(page, Control::Label9, {400, 32, 11, 13});
    b.memo(page, Control::Memo_xn, {344, 48, 193, 393}, Scroll_bars::both);
    b.button(page, Control::Button_copy_xn, {344, 448, 185, 17});
    b.label(page, Control::Label12, {480, 16, 14, 25}, Plain_20);
    build_data_panel(b, b.panel(page, "Panel1", {552, 8, 361, 457}));
    b.label(page, Control::Label_file_name, {16, 472, 48, 13});
}

}  // namespace vantel::ui
