#include "shell/helpwindow.h"
#include "data/state.h"
#include "shell/look.h"
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>

namespace fm
{

QString helpPagePath(const QString &programDir, int context)
{
    return programDir + QStringLiteral("help/%1.html").arg(context);
}

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("ふでまる（小１～２） ヘルプ"));
    resize(600, 440);
    browser_ = new QTextBrowser(this);
    browser_->setGeometry(8, 8, 584, 384);
    browser_->setFont(pixelFont(16));
    browser_->setOpenExternalLinks(false);
    close_ = new QPushButton(QStringLiteral("とじる"), this);
    close_->setFont(pixelFont(16, true));
    close_->setGeometry(480, 400, 112, 32);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
}

void HelpWindow::showContext(const QString &helpDir, int context)
{
    const QString path = helpPagePath(helpDir, context);
    if (QFileInfo::exists(path)) {
        browser_->setSearchPaths({QFileInfo(path).absolutePath()});
        browser_->setSource(QUrl::fromLocalFile(path));
    } else {
        browser_->setHtml(QStringLiteral("<h2>ヘルプのページがみつかりません。</h2><p>%1</p>")
                              .arg(QStringLiteral("help/%1.html").arg(context).toHtmlEscaped()));
    }
}

HtmlHelpViewer::~HtmlHelpViewer()
{
    delete window_.data();
}

void HtmlHelpViewer::showHelp(QWidget *parent, int context)
{
    QWidget *top = parent ? parent->window() : nullptr;
    if (!window_)
        window_ = new HelpWindow(top);
    window_->showContext(state_.ProgramDir, context);
    if (top)
        window_->move(top->geometry().center() - window_->rect().center());
    window_->show();
    window_->raise();
    window_->activateWindow();
}

} // namespace fm
