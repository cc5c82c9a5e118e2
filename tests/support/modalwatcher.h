#pragma once
// For screen tests that open modal windows: looks at each modal window as
// soon as it runs (through an optional inspector) and closes it.
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace fm::test
{

struct ModalWatcher {
    explicit ModalWatcher(std::function<void(QWidget *)> inspect = {}) : inspect(std::move(inspect))
    {
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget *w = QApplication::activeModalWidget();
            if (!w || w == last)
                return;
            last = w;
            ++seen;
            if (this->inspect)
                this->inspect(w);
            if (auto *d = qobject_cast<QDialog *>(w))
                d->accept();
        });
        timer.start();
    }
    QTimer timer;
    std::function<void(QWidget *)> inspect;
    QPointer<QWidget> last;
    int seen = 0;
};

} // namespace fm::test
