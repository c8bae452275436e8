#include "ui/animation_box.h"

#include "ui/gif_delays.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace tarnis {

AnimationBox::AnimationBox(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setFocusPolicy(Qt::NoFocus);
    m_frameTimer.setSingleShot(true);
    connect(&m_frameTimer, &QTimer::timeout, this, &AnimationBox::advance);
}

bool AnimationBox::load(const QString& fileName) {
    m_frameTimer.stop();
    m_frames.clear();
    m_current = 0;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    const std::vector<int> gifDelays = gifFrameDelays(data);
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    // The GIF reader composes each frame over the ones before it, so every image read is
    // a whole picture.
    while (true) {
        QImage image = reader.read();
        if (image.isNull())
            break;
        const std::size_t index = m_frames.size();
        const int delay = index < gifDelays.size() ? gifDelays[index] : reader.nextImageDelay();
        m_frames.push_back({std::move(image), delay > 0 ? delay : zeroDelayMs});
        if (!reader.supportsAnimation())
            break;
    }
    update();
    return hasPicture();
}

void AnimationBox::setPlaying(bool playing) {
    if (!playing) {
        m_frameTimer.stop();
        showFrame(0);
        return;
    }
    if (m_frames.size() < 2 || m_frameTimer.isActive())
        return;
    m_frameTimer.start(m_frames[static_cast<std::size_t>(m_current)].delayMs);
}

int AnimationBox::frameDelay(int frame) const {
    if (frame < 0 || frame >= frameCount())
        return 0;
    return m_frames[static_cast<std::size_t>(frame)].delayMs;
}

QSize AnimationBox::pictureSize() const {
    return hasPicture() ? m_frames.front().image.size() : QSize();
}

QRect AnimationBox::pictureRect() const {
    if (!hasPicture())
        return {};
    QSize size = pictureSize();
    if (size.width() > width() || size.height() > height())
        size = size.scaled(this->size(), Qt::KeepAspectRatio);
    return {QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size};
}

void AnimationBox::paintEvent(QPaintEvent*) {
    if (!hasPicture())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(), m_frames[static_cast<std::size_t>(m_current)].image);
}

void AnimationBox::showFrame(int frame) {
    if (frame == m_current)
        return;
    m_current = frame;
    update();
}

void AnimationBox::advance() {
    if (m_frames.empty())
        return;
    showFrame((m_current + 1) % frameCount());
    m_frameTimer.start(m_frames[static_cast<std::size_t>(m_current)].delayMs);
}

} // namespace tarnis
