#include "filedialog.h"

#include "baselib.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {
struct NextAnswer {
    bool pending = false;
    bool accept = false;
    QString path;
};

NextAnswer& Next()
{
    static NextAnswer answer;
    return answer;
}

// The last folder per dialog name lives in the application settings.
CXMLSettingsBlock DialogSettings(const QString& name, bool create)
{
    auto* app = qobject_cast<CQuarvelApp*>(QCoreApplication::instance());
    if (!app || name.isEmpty())
        return CXMLSettingsBlock();
    CXMLSettingsBlock root = app->GetAppSettings();
    const QString path = QStringLiteral("FileDialogs/") + name;
    return create ? root.GetFirstBlockForPath(path)
                  : root.GetFirstChildBlock(QStringLiteral("FileDialogs")).GetFirstChildBlock(name);
}

void Prepare(QFileDialog& dialog, const FileDialogParams& params)
{
    const QStringList filters = FileDialogNameFilters(params.m_Filters);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    const QString lastDir = DialogSettings(params.m_SettingsName, false).GetText(QStringLiteral("LastDir"));
    if (!lastDir.isEmpty() && QFileInfo(lastDir).isDir())
        dialog.setDirectory(lastDir);
    if (params.m_Mode == FileDialogSave) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!params.m_Filters.isEmpty()) {
            // "*.ini" makes a typed "office" become "office.ini".
            const QString pattern = params.m_Filters.first().m_Pattern.section(QLatin1Char(';'), 0, 0).trimmed();
            if (pattern.startsWith(QLatin1String("*.")) && pattern.count(QLatin1Char('*')) == 1
                && !pattern.contains(QLatin1Char('?')) && !pattern.contains(QLatin1Char(' ')))
                dialog.setDefaultSuffix(pattern.mid(2));
        }
        if (!params.m_DefaultName.isEmpty())
            dialog.selectFile(params.m_DefaultName);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
}
} // namespace

CFilterDesc::CFilterDesc(const QString& desc, const QString& pattern)
    : m_Desc(desc), m_Pattern(pattern)
{
}

QString CFSItem::GetPath(bool nativeSeparators) const
{
    return nativeSeparators ? QDir::toNativeSeparators(m_Path) : m_Path;
}

void CFSItem::SetPath(const QString& path)
{
    m_Path = path;
}

FileDialogParams::FileDialogParams()
    : m_Options1(0), m_Options2(0), m_Options3(0), m_Mode(0), m_Reserved(nullptr), m_Further(0),
      m_Last(nullptr)
{
}

FileDialogParams::~FileDialogParams() = default;

QStringList FileDialogNameFilters(const QList<CFilterDesc>& filters)
{
    QStringList result;
    for (const CFilterDesc& f : filters) {
        const QString patterns = QString(f.m_Pattern).replace(QLatin1Char(';'), QLatin1Char(' ')).simplified();
        if (f.m_Desc.isEmpty())
            result << patterns;
        else if (f.m_Desc.contains(QLatin1Char('(')) || patterns.isEmpty())
            result << f.m_Desc; // already names its patterns
        else
            result << QStringLiteral("%1 (%2)").arg(f.m_Desc, patterns);
    }
    return result;
}

void SetNextFileDialogAnswer(const QString& path, bool accept)
{
    Next() = NextAnswer{true, accept, path};
}

int GetFileName(QWidget* parent, FileDialogParams* params)
{
    if (!params)
        return 0;
    if (Next().pending) {
        const NextAnswer answer = Next();
        Next() = NextAnswer();
        if (!answer.accept)
            return 0;
        params->m_Result.SetPath(answer.path);
        return 1;
    }
    QFileDialog dialog(parent, params->m_Caption);
    Prepare(dialog, *params);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return 0;
    const QString path = dialog.selectedFiles().first();
    params->m_Result.SetPath(path);
    DialogSettings(params->m_SettingsName, true).PutText(QStringLiteral("LastDir"), QFileInfo(path).absolutePath());
    return 1;
}
