// One device preview on the window: the device picture magnified by a whole
// factor without smoothing, with clicks and pointer moves handed back in
// device pixels.
#pragma once

#include <QImage>
#include <QWidget>

namespace varno {

class PreviewWidget : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWidget(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    // 1 to 4.
    void setZoom(int zoom);
    int zoom() const { return m_zoom; }
    // The picker cursor while a pick is armed on this preview.
    void setPickerCursor(bool on);
    bool pickerCursor() const { return m_picker; }

    // A widget position in device pixels (truncating, as the device would).
    QPoint devicePoint(const QPoint &widgetPos) const;
    QSize sizeHint() const override;

signals:
    void released(int x, int y);
    void hovered(int x, int y);
    void left();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    bool inside(const QPoint &device) const;

    QImage m_picture;
    int m_zoom = 1;
    bool m_picker = false;
};

// The cursor shown while a colour waits to be picked: a pipette-like cross.
QCursor makePickerCursor();

}  // namespace varno
