// Device previews, magnified.
#include "ui/widgets/previewwidget.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace varno {

PreviewWidget::PreviewWidget(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewWidget::setPicture(const QImage &picture)
{
    const bool resized = picture.size() != m_picture.size();
    m_picture = picture;
    if (resized)
        updateGeometry();
    update();
}

void PreviewWidget::setZoom(int zoom)
{
    zoom = std::clamp(zoom, 1, 4);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    updateGeometry();
    update();
}

void PreviewWidget::setPickerCursor(bool on)
{
    if (on == m_picker)
        return;
    m_picker = on;
    if (on)
        setCursor(makePickerCursor());
    else
        unsetCursor();
}

QSize PreviewWidget::sizeHint() const
{
    return m_picture.size() * m_zoom;
}

QPoint PreviewWidget::devicePoint(const QPoint &widgetPos) const
{
    // Integer division truncates toward zero; a position left of or above
    // the widget must not land on column or row 0.
    const auto down = [this](int v) { return v >= 0 ? v / m_zoom : -1 - (-v - 1) / m_zoom; };
    return {down(widgetPos.x()), down(widgetPos.y())};
}

bool PreviewWidget::inside(const QPoint &device) const
{
    return device.x() >= 0 && device.y() >= 0 && device.x() < m_picture.width() &&
           device.y() < m_picture.height();
}

void PreviewWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (m_picture.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(QPoint(0, 0), m_picture.size() * m_zoom), m_picture);
}

void PreviewWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = devicePoint(event->position().toPoint());
    if (inside(p))
        emit released(p.x(), p.y());
}

void PreviewWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = devicePoint(event->position().toPoint());
    if (inside(p))
        emit hovered(p.x(), p.y());
    else
        emit left();
}

void PreviewWidget::leaveEvent(QEvent *)
{
    emit left();
}

QCursor makePickerCursor()
{
    // Drawn rather than shipped: a cross with an open centre, so the pixel
    // being picked stays visible.
    QPixmap pixmap(23, 23);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    for (const auto &[colour, width] : {std::pair{QColor(Qt::white), 3}, {QColor(Qt::black), 1}}) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(11, 0, 11, 8);
        p.drawLine(11, 14, 11, 22);
        p.drawLine(0, 11, 8, 11);
        p.drawLine(14, 11, 22, 11);
    }
    p.end();
    return QCursor(pixmap, 11, 11);
}

}  // namespace varno
