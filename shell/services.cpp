#include "shell/services.h"
#include "data/errors.h"
#include "shell/dialogs.h"
#include "shell/navigator.h"

namespace fm
{

QString Services::file(const QString &name) const
{
    return state.ProgramDir + name;
}

QString Services::dataFile(const QString &name) const
{
    return state.DataDir + name;
}

void Services::fail(const FileError &error, QWidget *parent)
{
    dialogs.fatalFileError(parent, error.message());
    nav.quit();
}

bool Services::guardNonFatal(QWidget *parent, const std::function<void()> &f)
{
    try {
        f();
        return true;
    } catch (const FileError &e) {
        dialogs.message(parent, e.message());
        return false;
    }
}

bool Services::guard(QWidget *parent, const std::function<void()> &f)
{
    try {
        f();
        return true;
    } catch (const FileError &e) {
        fail(e, parent);
        return false;
    }
}

} // namespace fm
