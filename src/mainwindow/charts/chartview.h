#pragma once
// A chart view of the statistics tabs: title at the top right, an optional
// foot line, the blue cross-hair with the value readout under the mouse,
// click zoom (left: in, right: out), rubber-band zoom and right-drag panning.

#include <QChartView>
#include <QPoint>
#include <functional>

class ChartView : public QChartView {
    Q_OBJECT
public:
    explicit ChartView(QChart* chart, QWidget* parent = nullptr);

    void setTitleText(const QString& t);
    QString titleText() const { return title_; }
    void setFootText(const QString& t);
    QString footText() const { return foot_; }
    // Off for the pies.
    void setInteractive(bool on);
    bool isInteractive() const { return interactive_; }
    // The hint text of the chart (shown in the status bar by the surplus chart).
    QString hint;
    // Value readout under the mouse: visible / text (for tests).
    bool readoutVisible() const { return readoutVisible_; }
    QString readoutText() const { return readoutText_; }
    void hideReadout();
    // Click sound, focus in / out.
    std::function<void()> onClick;
    std::function<void(bool)> onFocus;

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    QString title_, foot_;
    bool interactive_ = true;
    QPoint pressPos_, lastPos_, mousePos_;
    Qt::MouseButton pressButton_ = Qt::NoButton;
    bool dragging_ = false;
    bool mouseInside_ = false;
    bool readoutVisible_ = false;
    QString readoutText_;
};
