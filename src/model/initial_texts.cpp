#include "model/initial_texts.h"

#include "batch/batch_rules.h"

namespace vantel {

std::string_view initial_text(Control control)
{
    switch (control) {
    case Control::Label2: return "The algorithm of Vantel calculation ";
    case Control::Button_Step_1: return "Step 1: Loading time series xn";
    case Control::Button_Step_2: return "Step 2: Loading MNIST-10 and T-pattern";
    case Control::Button_Step_3: return "Step 3: Initializing weights";
    case Control::Button_Step_4: return "Step 4: Filling the matrix of the reservoir W1";
    case Control::Button_Step_5: return "Step 5: Calculating normalization coefficients";
    case Control::Button_Step_6: return "Step 6: The number of training epochs is";
    case Control::Edit_epoch: return "100";
    case Control::Button_Step_7: return "Step 7: Training of the VedEro";
    case Control::Button_Step_8: return "Step 8: Testing of the VedEro";
    case Control::Button_Step_9: return "Step 9: Vantel calculation";
    case Control::Label2_N: return "N=0";
    case Control::Label_load_status: return "---";
    case Control::RadioButton1: return "Method 1";
    case Control::RadioButton2: return "Method 2";
    case Control::RadioButton3: return "Method 3";
    case Control::RadioButton4: return "Method 4";
    case Control::RadioButton5: return "Method 5";
    case Control::RadioButton6: return "Method 6";
    case Control::Label_epoch: return "Current epoch =";
    case Control::Label1: return "Vantel=";
    case Copy_value_button: return "Copy to clipboard";
    case Control::Button_start: return "START";
    case Stop_run_button: return "STOP";
    case Control::Label_Time: return "Time passed [s]=";
    case Control::Label5: return "Time series xn";
    case Control::Label8: return "n";
    case Control::Label9: return "xn";
    case Control::Button_copy_xn: return "\u0421opy xn to clipboard";
    case Control::Label12: return "--";
    case Control::Label_file_name: return "file name=";
    case Control::Label3: return "Calculating entropy Vantel from data file ";
    case Control::Open_file_button: return "Open file";
    case Control::Button_start_all: return "START of all columns";
    case Stop_batch_button: return "STOP";
    case Control::Label_total_lines: return "Total lines=";
    case Control::Label_Time_all: return "Time passed [s]=";
    case Control::Label_number_of_columns: return "Number of columns=";
    case Control::Label74: return "Column";
    case Control::Edit_column: return "1";
    case Control::Button_column_show: return "Show";
    case Control::Label_N: return "N=";
    case Control::Edit_N: return "19625";
    case Control::Label4: return "Result";
    case Control::Label11: return "--";
    case Control::Label7: return "column     Vantel   Epoch        N          file";
    case Control::Button_copy_result: return "\u0421opy result to clipboard";
    case Control::Label6: return "Init file";
    case Init_memo: return "Memo3";
    case Control::Label10: return "Result";
    case Batch_lines_memo: return "Memo4";
    case Control::Label13: return "TURBO";
    case Placeholder_memo: return Placeholder_result_line;
    case Data_listing_memo: return "Memo5";
    case Control::Open_ALL_file_button: return "Open All Files";
    default: return "";
    }
}

}  // namespace vantel
