// Tab "Init": the init file, the batch results, the data-folder
// listing and the all-files button.
#include <QWidget>

#include "ui/tabs.h"

namespace vantel::ui {

void build_init_tab(Builder& b, QWidget* page)
{
    b.label(page, Control::Label6, {8, 8, 30, 13});
    // Memo3 wraps long lines on screen; a wrapped line still counts as one
    // init line (memo lines are text blocks, not screen rows).
    b.memo(page, Control::Memo3, {8, 24, 185, 89}, Scroll_bars::none);
    b.label(page, Control::Label10, {8, 128, 30, 13});
    b.memo(page, Control::Memo4, {8, 144, 265, 145}, Scroll_bars::both);
    b.label(page, Control::Label13, {8, 296, 38, 13});
    b.memo(page, Control::Memo6, {8, 312, 185, 89}, Scroll_bars::none);
    b.memo(page, Control::Memo5, {384, 16, 241, 337}, Scroll_bars::both);
    b.button(page, Control::Open_ALL_file_button, {696, 16, 75, 25});
}

}  // namespace vantel::ui
