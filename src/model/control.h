// Names of the main window's controls, as the engine, series and batch code
// refer to them. The Qt window maps each name to its widget.
#pragma once

#include <string_view>

namespace vantel {

#define VANTEL_CONTROLS(X)                                                   \
    /* tab "VantEL", left panel: the nine steps and the single run */       \
    X(Label2) X(Button_Step_1) X(Button_Step_2) X(Button_Step_3)             \
    X(Button_Step_4) X(Button_Step_5) X(Button_Step_6) X(Edit_epoch)         \
    X(Button_Step_7) X(Button_Step_8) X(Button_Step_9) X(Label2_N)           \
    X(Label_load_status) X(ProgressBar1) X(RadioButton1) X(RadioButton2)     \
    X(RadioButton3) X(RadioButton4) X(RadioButton5) X(RadioButton6)          \
    X(Label_epoch) X(Label1) X(Edit_Vantel) X(Button8) X(Button_start)       \
    X(Button11) X(Label_Time)                                                \
    /* tab "VantEL", directly on the tab */                                  \
    X(Label5) X(Label8) X(Label9) X(Memo_xn) X(Button_copy_xn) X(Label12)    \
    X(Label_file_name)                                                       \
    /* tab "VantEL", right panel: data file, columns, results */            \
    X(Label3) X(Open_file_button) X(Button_start_all) X(Button10)            \
    X(Label_total_lines) X(Label_Time_all) X(Label_number_of_columns)        \
    X(Memo_user_data) X(Label74) X(Edit_column) X(Button_column_show)        \
    X(Label_N) X(Edit_N) X(Label4) X(Label11) X(Label7)                      \
    X(Button_copy_result) X(Memo_Result)                                     \
    /* tabs "Manual", "About", "Init" */                                     \
    X(Memo1) X(Memo2) X(Label6) X(Memo3) X(Label10) X(Memo4) X(Label13)      \
    X(Memo6) X(Memo5) X(Open_ALL_file_button)                                \
    /* without a place on the screen */                                      \
    X(Timer1)

enum class Control {
#define VANTEL_ENUM_ITEM(name) name,
    VANTEL_CONTROLS(VANTEL_ENUM_ITEM)
#undef VANTEL_ENUM_ITEM
        Count_
};

inline constexpr int Control_count = static_cast<int>(Control::Count_);

// The control's name as the program's code and messages write it ("Edit_N").
std::string_view control_name(Control control);

// What the controls whose names say nothing are (the names stay: they are
// the window's object names, which tests and scripts use):
//   Button8   copies the value (Edit_Vantel) to the clipboard
//   Button10  "STOP" beside "START of all columns"
//   Button11  "STOP" under "START"
//   Memo1     the Manual tab's text;  Memo2  the About tab's text
//   Memo3     the Init tab's lines of init.txt, read whenever an init value is used
//   Memo4     the all-columns batch's result lines, one per column
//   Memo5     the data folder's listing for "Open All Files"
//   Memo6     the placeholder result written for a short "TURBO" file
inline constexpr Control Copy_value_button = Control::Button8;
inline constexpr Control Stop_batch_button = Control::Button10;
inline constexpr Control Stop_run_button = Control::Button11;
inline constexpr Control Init_memo = Control::Memo3;
inline constexpr Control Batch_lines_memo = Control::Memo4;
inline constexpr Control Data_listing_memo = Control::Memo5;
inline constexpr Control Placeholder_memo = Control::Memo6;

}  // namespace vantel
