#pragma once
// The splash screen shown while the main window is being created: a
// borderless picture with the program's title, logo and contact lines.
// The picture is Images/Flash.jpg under the program folder when that file
// exists (the window keeps its width and takes the picture's proportions),
// otherwise the built-in one at 473 x 269.

#include <QPixmap>
#include <QWidget>
#include <functional>

class QLabel;
class TDataModule1;

class TFlashBox : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 473;
    static constexpr int kHeight = 269;
    static constexpr int kMinimumMs = 800;

    explicit TFlashBox(const QString& programFolder, QWidget* parent = nullptr);

    // Window height for a picture of the given size at the fixed width:
    // picture height x width / picture width, rounded down.
    static int heightFor(const QSize& picture, int width = kWidth);

    // The splash is shown only when setting 18 is exactly "0".
    static bool wanted(TDataModule1& dm);

    // How the splash waits; tests replace it to watch the timing.
    struct Timing {
        std::function<qint64()> elapsedMs;        // since the splash was created
        std::function<void(int ms)> sleep;        // blocks, keeping the screen painted
        std::function<void(TFlashBox&)> onStep;   // after each fade step
    };

    // Shows the splash for at least 800 ms, fades it out in 256 steps of
    // 2 ms and destroys it. Does nothing when setting 18 skips it.
    // Returns whether it was shown.
    static bool run(TDataModule1& dm, Timing timing = {});

    bool usesPictureFile() const { return fromFile_; }
    const QPixmap& picture() const { return picture_; }

    QLabel* Label6; // title
    QLabel* Image2; // logo

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;

private:
    void centreOnScreen();
    QPixmap picture_;
    bool fromFile_ = false;
    QLabel* home_;
    QLabel* mail_;
};
