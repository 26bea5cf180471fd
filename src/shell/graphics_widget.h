// The graphics window on the screen: a widget that replays the DisplayList onto a QPainter on
// every paint, hands keys and mouse to the view control (zoom, pan, rubber band, double-click
// fit, Esc) and shows the animation's step dialog. Drawings are mapped onto the reference
// area A x B; the widget shows that area as large as it fits, centred, whatever its own size.
#pragma once

#include "graphics/display_list.h"
#include "graphics/replay.h"
#include "graphics/view_control.h"
#include "platform/graphics_host.h"

#include <QWidget>

namespace kora {

class GraphicsWidget : public QWidget, public GraphicsHost {
  public:
    GraphicsWidget(DisplayList& list, QWidget* parent = nullptr);

    DisplayList& displayList() { return list_; }
    ViewControl& viewControl() { return control_; }

    // GraphicsHost
    void Invalidate() override;
    void SetWaitCursor() override;
    void SetOldCursor() override;
    bool ServiceMessages() override;
    bool Sleep(int milliseconds) override;
    void ShowFrame(int pauseMs) override;
    bool AnimationStep() override;

    // The virtual key code the view control understands for a Qt key (0 for a key that only
    // repeats the pending command, -1 for a key the window ignores, such as Shift alone).
    static int VirtualKey(int qtKey);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // The reference area's place in the widget: its scale and top-left corner.
    struct Placement {
        double scale = 1;
        double left = 0, top = 0;
    };
    Placement Place() const;
    // A widget position in pixels of the reference area.
    QPoint ToReference(QPointF widgetPosition) const;

    DisplayList& list_;
    ViewControl control_;
    int waitCursors_ = 0;
};

} // namespace kora
