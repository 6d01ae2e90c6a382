#include "toolsinstall.h"

#include "tinterestfrm.h"
#include "tmainfrm.h"
#include "ttaxfrm.h"

#include <QScreen>

namespace {
void centreOn(QDialog& d, QWidget& owner)
{
    const QRect r = owner.frameGeometry();
    d.move(r.center() - QPoint(d.width() / 2, d.height() / 2));
}
} // namespace

void installTools(TMainFrm& frm, TDataModule1& dm, IMessageBox& messages, IFileDialog&, IDesktop& desktop)
{
    TMainFrm* owner = &frm;
    frm.actionHooks[QStringLiteral("ToolInterest")] = [owner, &dm, &messages, &desktop] {
        TInterestFrm d(dm, messages, desktop, owner);
        centreOn(d, *owner);
        d.exec();
    };
    frm.actionHooks[QStringLiteral("ToolTax")] = [owner, &dm, &messages, &desktop] {
        TTaxFrm d(dm, messages, desktop, owner);
        centreOn(d, *owner);
        d.exec();
    };
}
