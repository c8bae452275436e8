#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace tarnis {

// A picture box for a still or animated picture: no border, white, the picture centred at
// its own size, or scaled down keeping its aspect ratio when it is larger than the box.
// The frames are decoded once when loaded, so playing never touches the file again.
class AnimationBox : public QWidget {
    Q_OBJECT

public:
    // A frame delay of 0 (or one the file does not give) is shown this long.
    static constexpr int zeroDelayMs = 50;

    explicit AnimationBox(QWidget* parent = nullptr);

    // Reads every frame of the picture; false, holding no picture, when it cannot be read.
    bool load(const QString& fileName);
    bool hasPicture() const { return !m_frames.empty(); }

    // Playing cycles through the frames without end, each for its own delay; stopping
    // leaves the first frame standing.
    void setPlaying(bool playing);
    bool isPlaying() const { return m_frameTimer.isActive(); }

    int frameCount() const { return static_cast<int>(m_frames.size()); }
    int currentFrame() const { return m_current; }
    int frameDelay(int frame) const; // ms
    QSize pictureSize() const;
    // Where the picture is drawn inside the box.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Frame {
        QImage image;
        int delayMs;
    };

    void showFrame(int frame);
    void advance();

    std::vector<Frame> m_frames;
    int m_current = 0;
    QTimer m_frameTimer;
};

} // namespace tarnis
