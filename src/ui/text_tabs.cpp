// Tabs "Manual" and "About": fixed texts in Memo1 and Memo2,
// written for this port: no names of people, publications or contacts.
#include <QPlainTextEdit>
#include <QWidget>

#include "base/version.h"
#include "ui/tabs.h"

namespace vantel::ui {

const std::vector<std::string_view>& manual_lines()
{
    static const std::vector<std::string_view> lines = {
        "",
        "   Vantel calculator " VANTEL_VERSION " computes the entropy Vantel of time series by the method that the program's authors have published.",
        "The program runs on the Linux desktop (Debian 12). Its folder holds the executable \"vantel_calculator\", the folder \"MNIST_10\" with the MNIST database,",
        "the folder \"T_pattern\" with the T-pattern and the folder \"Results\" with the lists of results; next to them are the data folder \"DATA\",",
        "the folder \"DATA_RESULT\" for the results of whole data files and the init file \"init.txt\".",
        "",
        "How to calculate:",
        "1. Start the program.",
        "2. Load a data file with the \"Open file\" button. The data stand in columns separated by tabs. The folder \"DATA\" holds three example files:",
        "    \"logistic_map.txt\" - a logistic map at four parameter values, one per column (four columns);",
        "    \"random_discrete_map.txt\" - a random discrete map;",
        "    \"two_valued_map.txt\" - a two-valued discrete map.",
        "    After loading, the first 10 lines of the file appear in the preview.",
        "3. Choose the column in the \"Column\" field and press \"Show\"; the series then appears under \"Time series xn\".",
        "4. Choose the length of the series in the \"N =\" field.",
        "5. Set the number of training epochs in the \"Step 6:\" field.",
        "6. Start the calculation with \"START\"; the results are listed under \"Result\".",
        "7. Press \"START of all columns\" to process all series of the file, one column after another.",
        "8. Stop the calculation with \"STOP\".",
        "",
        "A calculation uses every processor core: the images of each step are computed on all cores at once, and the ten outputs of the VedEro",
        "are trained on two threads. While it runs, the window answers clicks, \"STOP\" among them, only at fixed points of the work.",
        "The command line program \"vantel\", next to \"vantel_calculator\" in the program folder, computes many series at once; \"vantel --help\" tells how.",
        "The \"Init\" tab shows the six lines of \"init.txt\": epoch counts of \"START of all columns\", AUTO, METHOD, N, Path; edits act when next read, the file is never written.",
        "",
        "When you publish results obtained with this program, please credit its authors and the method of the Vantel entropy.",
        "",
        "Proposals are welcome through the project's issue tracker.",
        "Thank you for using Vantel calculator.",
    };
    return lines;
}

const std::vector<std::string_view>& about_lines()
{
    static const std::vector<std::string_view> lines = {
        "Vantel calculator " VANTEL_VERSION,
        "",
        "Version " VANTEL_VERSION,
        "",
        "The program computes the entropy Vantel of time series",
        "by the method that its authors have published.",
        "",
        "Authors: the developers of Vantel calculator.",
        "",
        "Contact: proposals are welcome through the project's issue tracker.",
    };
    return lines;
}

void build_manual_tab(Builder& b, QWidget* page)
{
    b.memo(page, Control::Memo1, {0, 0, 865, 497}, Scroll_bars::both, &manual_lines())
        ->setReadOnly(true);
}

void build_about_tab(Builder& b, QWidget* page)
{
    b.memo(page, Control::Memo2, {0, -2, 865, 497}, Scroll_bars::none, &about_lines())
        ->setReadOnly(true);
}

}  // namespace vantel::ui
