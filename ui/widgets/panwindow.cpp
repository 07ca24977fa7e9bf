// The pan window: draws the scaled pan picture and its frame, and turns a
// drag of the frame into rectangle positions in picture pixels.
#include "ui/widgets/panwindow_p.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace varno {

void drawOutline(QPainter &painter, const QRect &rect)
{
    if (rect.isEmpty())
        return;
    // A one-pixel pen covers one more pixel than the rectangle is wide.
    const QRect pixels = rect.adjusted(0, 0, -1, -1);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 0));
    painter.drawRect(pixels);
    painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
    painter.drawRect(pixels);
    painter.restore();
}

PanWindow::PanWindow(const QString &title, QSize size, QWidget *parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("PanWindow"));
    setWindowTitle(title);
    setFixedSize(size);
    setMouseTracking(true);
}

void PanWindow::setPicture(const Raster &picture)
{
    const QImage &image = picture.image();
    if (!m_shown.isNull() && image.cacheKey() == m_pictureKey)
        return;
    m_pictureKey = image.cacheKey();
    m_dragging = false;
    if (image.isNull()) {
        m_shown = QPixmap();
        m_scale = 1;
        m_origin = QPoint();
        update();
        return;
    }
    // A pixel kept free on each side, so the frame shows even around a
    // rectangle at the picture's edge.
    m_scale =
        std::min({1.0, double(width() - 2) / image.width(), double(height() - 2) / image.height()});
    const QSize shown(std::max(1, int(std::lround(image.width() * m_scale))),
                      std::max(1, int(std::lround(image.height() * m_scale))));
    m_shown = QPixmap::fromImage(shown == image.size() ? image
                                                       : image.scaled(shown, Qt::IgnoreAspectRatio,
                                                                      Qt::SmoothTransformation));
    m_origin = QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2);
    update();
}

void PanWindow::setPanRect(const QRect &rect)
{
    if (rect == m_panRect)
        return;
    m_panRect = rect;
    update();
}

QRect PanWindow::frameArea() const
{
    if (m_panRect.isEmpty())
        return QRect();
    const auto at = [this](int v) { return int(std::lround(v * m_scale)); };
    const QRect inside(
        m_origin + QPoint(at(m_panRect.left()), at(m_panRect.top())),
        QSize(std::max(1, at(m_panRect.width())), std::max(1, at(m_panRect.height()))));
    return inside.adjusted(-1, -1, 1, 1);
}

void PanWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    painter.drawPixmap(m_origin, m_shown);
    drawOutline(painter, frameArea());
}

void PanWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !frameArea().contains(event->position().toPoint())) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_pressAt = event->position();
    m_rectAtPress = m_lastReported = m_panRect.topLeft();
    setCursor(Qt::ClosedHandCursor);
}

void PanWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging) {
        setCursor(frameArea().contains(event->position().toPoint()) ? Qt::OpenHandCursor
                                                                    : Qt::ArrowCursor);
        return;
    }
    // Measured from where the drag began, so rounding never accumulates.
    const QPointF moved = (event->position() - m_pressAt) / m_scale;
    const QPoint wished =
        m_rectAtPress + QPoint(int(std::lround(moved.x())), int(std::lround(moved.y())));
    if (wished == m_lastReported)
        return;
    m_lastReported = wished;
    if (onPanned)
        onPanned(wished.x(), wished.y());
}

void PanWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_dragging) {
        m_dragging = false;
        setCursor(Qt::OpenHandCursor);
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void PanWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PanWindow::closeEvent(QCloseEvent *event)
{
    m_dragging = false;
    event->accept();
    if (onClosed)
        onClosed();
}

}  // namespace varno
