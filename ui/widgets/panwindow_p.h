// The fitting dialog's pan window: the pan picture scaled down to fit, with
// the canvas-sized rectangle the user drags over it.
#pragma once

#include "app/raster/raster.h"

#include <QPixmap>
#include <QPointF>
#include <QRect>
#include <QWidget>

#include <functional>

class QPainter;

namespace varno {

// Outlines the pixels of `rect` in black dashes over white, so the line
// shows on any picture.
void drawOutline(QPainter &painter, const QRect &rect);

class PanWindow : public QWidget {
    Q_OBJECT
public:
    // A tool window of fixed `size` over `parent`.
    PanWindow(const QString &title, QSize size, QWidget *parent);

    // The picture to pan over, shown scaled down to fit and never up. The
    // same picture again keeps the scaled copy already made.
    void setPicture(const Raster &picture);
    // The rectangle in picture pixels; the window draws a one-pixel frame
    // around it.
    void setPanRect(const QRect &rect);

    // Window pixels per picture pixel (at most 1), and where the scaled
    // picture sits in the window.
    double scale() const { return m_scale; }
    QRect pictureArea() const { return QRect(m_origin, m_shown.size()); }
    // The frame around the rectangle, in window pixels.
    QRect frameArea() const;

    // A drag moved the rectangle: its wished top-left in picture pixels.
    // The window shows what setPanRect() gives back, so the owner decides
    // where the rectangle may go.
    std::function<void(int left, int top)> onPanned;
    // The user closed the window.
    std::function<void()> onClosed;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPixmap m_shown;
    qint64 m_pictureKey = 0;
    double m_scale = 1;
    QPoint m_origin;
    QRect m_panRect;
    // The drag under way: where it started in window pixels and where the
    // rectangle was then, and the last position reported.
    bool m_dragging = false;
    QPointF m_pressAt;
    QPoint m_rectAtPress;
    QPoint m_lastReported;
};

}  // namespace varno
