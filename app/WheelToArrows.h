#pragma once

#include <QObject>

class QAbstractItemView;

namespace plavex::app {

// The mouse wheel over a grid moves its current row one row per notch
// (down for a zero or negative turn, up for a positive one) instead of
// scrolling the view away from the selection.
class WheelToArrows : public QObject {
    Q_OBJECT
public:
    explicit WheelToArrows(QAbstractItemView *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractItemView *view_;
};

} // namespace plavex::app
