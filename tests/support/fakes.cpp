#include "fakes.h"

MsgAnswer FakeMessageBox::show(const QString& title, const QString& text, MsgIcon icon, MsgButtons buttons)
{
    shown << ShownMessage{title, text, icon, buttons};
    if (onShow)
        onShow(shown.last());
    if (!answers.isEmpty())
        return answers.takeFirst();
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes : MsgAnswer::Ok;
}
