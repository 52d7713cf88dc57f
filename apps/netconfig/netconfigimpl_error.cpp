#include "netconfigimpl.h"

#include "msgbox.h"

#include <QApplication>

namespace {

const DWORD kTextBufferChars = 1024;
const DWORD kFormatFlags =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;

// The application's main widget: the main dialog when there is one.
QWidget* MainWidget()
{
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (QWidget* widget : topLevels) {
        if (qobject_cast<CNetConfigImpl*>(widget))
            return widget;
    }
    return QApplication::activeWindow();
}

// The provider's own description; the number becomes the provider's code.
QString ProviderErrorText(DWORD* number)
{
    WCHAR description[kTextBufferChars] = {};
    WCHAR provider[kTextBufferChars] = {};
    DWORD providerError = 0;
    if (WNetGetLastErrorW(&providerError, description, kTextBufferChars, provider, kTextBufferChars)
        != NO_ERROR)
        return QString();
    *number = providerError;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(description));
}

QString SystemErrorText(DWORD number)
{
    LPSTR buffer = nullptr;
    const DWORD length = FormatMessageA(kFormatFlags, nullptr, number, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                        reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    if (length == 0 || !buffer)
        return QString();
    // Used as the system wrote it, trailing line break included.
    const QString text = QString::fromLocal8Bit(buffer);
    LocalFree(buffer);
    return text;
}

} // namespace

void CNetConfigImpl::ShowSystemError(unsigned long code)
{
    if (code == 0)
        return;
    DWORD number = DWORD(code);
    QString text;
    // The network provider has a better description than the generic text.
    if (number == ERROR_EXTENDED_ERROR)
        text = ProviderErrorText(&number);
    if (text.isEmpty())
        text = SystemErrorText(number);
    // A box even without text: the user must learn that the step failed.
    QuarvelMsgBox(MainWidget(), text, QString(), QString(), QString(), 1, 258);
}
