#pragma once

// Typing into the dialog as a user would and reading the host back.

#include "iplist.h"
#include "msgboxrecorder.h"
#include "netconfigimpl.h"
#include "testenv.h"

#include <QtTest>

#include <memory>

namespace applytest {

using iptest::Ips;
using iptest::Texts;

// Table rows given by their tags alone, "input = expected". Row() is the current one split at blanks; Input() the
// words before "=" ("~" an empty word, "_" a blank inside one); Expected() what follows " = ".
inline void Rows(std::initializer_list<const char*> rows)
{
    QTest::addColumn<QString>("row");
    for (const char* row : rows)
        QTest::newRow(row) << QString();
}

inline QStringList Row()
{
    return QString::fromUtf8(QTest::currentDataTag()).split(QLatin1Char(' '));
}

inline QStringList Input()
{
    QStringList words = Row().mid(0, Row().indexOf(QStringLiteral("=")));
    return words.replaceInStrings(QStringLiteral("~"), QString())
        .replaceInStrings(QStringLiteral("_"), QStringLiteral(" "));
}

inline QString Expected()
{
    const QString tag = QString::fromUtf8(QTest::currentDataTag());
    return tag.mid(tag.startsWith(QLatin1String("= ")) ? 2 : tag.indexOf(QLatin1String(" = ")) + 3);
}

// Focuses the field, selects what it holds and types over it.
inline bool Type(QLineEdit* field, const QString& text)
{
    field->setFocus();
    if (!QTest::qWaitFor([field]() { return field->hasFocus(); }))
        return false;
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        QTest::keyClicks(field, text);
    return true;
}

// Clicks near the left edge: a stretched check box or radio button only
// reacts on its indicator and label, not on the empty space to the right.
inline void Click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(qMin(8, button->width() / 2), button->height() / 2));
}

// A dialog freshly read from the host, as the next start of the program sees it.
inline std::unique_ptr<CNetConfigImpl> ReadHost()
{
    auto dialog = std::make_unique<CNetConfigImpl>();
    return dialog->ReadConfiguration() == 0 ? std::move(dialog) : nullptr;
}

// The system's text for an error number, as the error box shows it.
inline QString SystemText(DWORD code)
{
    LPSTR buffer = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                   code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    const QString text = QString::fromLocal8Bit(buffer);
    LocalFree(buffer);
    return text;
}

// A dialog on a fresh sample host, shown and active, adapter `row` selected.
struct Fixture
{
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<CNetConfigImpl> dialog;
    MsgBoxRecorder boxes;

    bool Open(int row = 0)
    {
        env = std::make_unique<TestEnv>();
        if (!env->initSampleHost() || !(dialog = ReadHost()))
            return false;
        dialog->SelectAdapter(row);
        dialog->show();
        boxes.texts().clear();
        return QTest::qWaitForWindowActive(dialog.get());
    }

    void Close()
    {
        dialog.reset();
        env.reset();
    }
    void Show(int row)
    {
        dialog->AdaptersPage()->cbAdapters->setFocus();
        dialog->SelectAdapter(row);
    }

    CNetworkCard& Card(int row) { return dialog->Adapters()[row]; }
};

} // namespace applytest
