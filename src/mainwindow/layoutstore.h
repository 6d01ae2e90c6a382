#pragma once
// The main window's layout kept in the per-user store: side panel sizes and
// collapsed flags, the active statistics tab, the tree expansion text and
// the font, each under its fixed value name as a string, with the
// corrections applied on reading.

#include <QColor>
#include <QFont>
#include <QHash>
#include <QRect>
#include <QSettings>
#include <QString>

struct SidePanelState {
    int size = 0;
    bool collapsed = false;
};

struct WindowLayout {
    QRect geometry;               // MainLeft/MainTop/MainWidth/MainHeight (read only)
    SidePanelState panel1{179, false};
    SidePanelState panel3{300, false};
    SidePanelState panel14{243, false};
    SidePanelState panel15{100, false};
    SidePanelState panel16{120, false};
    SidePanelState panel19{300, false};
    int pageControl1 = 0;
    int groupBox4 = 200;
    QString treeStat = QStringLiteral("100011110");
    int fontCharset = 134;
    int fontColor = -16777208;    // the system window-text colour
    int fontHeight = 9;
    QString fontName = QStringLiteral("宋体");
    int fontSize = 9;
    QString fontStyle = QStringLiteral("0000"); // bold, italic, underline, strike-out

    // Reads every value (missing ones keep their defaults) and applies the
    // corrections. `workArea` gives the position defaults; `chrome` is the
    // height taken by menu, toolbar and status bar.
    void read(QSettings& s, const QRect& workArea, int chrome);
    // Writes the values that are kept across runs, in their order.
    void write(QSettings& s) const;

    QFont font() const;
    void setFont(const QFont& f);
    // The chosen font colour; invalid for the system colour.
    QColor color() const;

    static QString styleText(const QFont& f);
};
