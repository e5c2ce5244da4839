// The Master List toolbar's "Export as-built report": the as-built HTML page of the loaded map,
// with the program ID and Neuron ID the LonWorks page last read. Nothing is sent or read for it,
// so its steps and its verify say "not run". GUI thread.
#include "device/commission/AsBuiltReport.h"
#include "formats/AtomicFile.h"
#include "formats/Sha256.h"
#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/DeviceSession.h"
#include "vocab/Version.h"

#include <QFile>

#include <algorithm>

namespace korvex::ui::pages {

namespace {

template <std::size_t N> bool allZero(const std::array<int, N>& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](int b) { return b == 0; });
}

} // namespace

void MasterListPage::exportAsBuilt() {
    QString path = tool_.prompter().saveFileName(this, QStringLiteral("HTML files (*.html)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) &&
        !path.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive))
        path += QStringLiteral(".html");
    if (!tool_.confirmOverwrite(path)) return;

    device::GatewayRecord record;
    record.port = tool_.device().portName().toStdString();
    {
        std::lock_guard lock(session_.mutex());
        record.map = std::make_unique<ObjectMap>(session_.map());
        const device::NodeIdentity& identity = tool_.device().engine().identity;
        if (!allZero(identity.programId)) record.programId = device::programIdText(identity.programId);
        if (!allZero(identity.neuronId)) record.neuronId = device::neuronIdText(identity.neuronId);
    }
    // The digest stands for the map only while the file holds it as it is.
    std::string digest;
    if (!session_.fileName().isEmpty() && session_.isSaved())
        digest = sha256OfFile(QFile::encodeName(session_.fileName()).toStdString()).value_or(std::string());
    const device::ReportHeader header{device::utcTimestamp(), kVersion, digest};
    const bool written =
        replaceFileAtomically(QFile::encodeName(path).toStdString(), device::asBuiltHtml(record, header));
    setStatus(written ? QStringLiteral("As-built report written to %1.").arg(path)
                      : QStringLiteral("The as-built report could not be written to %1.").arg(path));
}

} // namespace korvex::ui::pages
