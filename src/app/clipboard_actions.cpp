#include "app/clipboard_actions.h"

namespace vantel {

namespace {

// Copies the control's whole text with its own button disabled meanwhile.
void copy_with_button(Session& session, Control button, Control source)
{
    session.window.set_enabled(button, false);
    session.window.copy_to_clipboard(source);
    session.window.set_enabled(button, true);
}

}  // namespace

void Button_copy_xnClick(Session& session)
{
    copy_with_button(session, Control::Button_copy_xn, Control::Memo_xn);
}

void Button_copy_resultClick(Session& session)
{
    copy_with_button(session, Control::Button_copy_result, Control::Memo_Result);
}

void Button8Click(Session& session)
{
    session.window.copy_to_clipboard(Control::Edit_Vantel);
}

void install_clipboard_handlers(Session& session)
{
    session.on(Control::Button_copy_xn, [&session] { Button_copy_xnClick(session); });
    session.on(Control::Button_copy_result, [&session] { Button_copy_resultClick(session); });
    session.on(Copy_value_button, [&session] { Button8Click(session); });
}

}  // namespace vantel
