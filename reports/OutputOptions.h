#pragma once

#include <QString>

#include <vector>

namespace plavex::reports {

// Where a run's pages go and how, as the output-setup window sets it.
enum class Destination { Screen = 0, Printer = 1, File = 2 };
enum class FileFormat { Snapshot, Native, Pdf };

struct FormatInfo {
    FileFormat format;
    QString caption;   // in the format list
    QString extension; // "ndr"
    QString filter;    // of the file dialogs
};
// The snapshot first, then the printer's own output, then the further formats.
const std::vector<FormatInfo> &fileFormats();
QString fileFilter(); // all formats for a save dialog, ";;" between them

struct OutputOptions {
    Destination destination = Destination::Screen;
    QString fileName;
    FileFormat format = FileFormat::Snapshot;
    int copies = 1;
    bool collate = false;
    bool duplex = false;
    // What the report definition allows.
    bool previewAllowed = true, printerAllowed = true, fileAllowed = true;
    bool copiesSettable = true, collateSettable = true, duplexSettable = true, printerSetupAllowed = true;
    // Printing from the preview.
    int firstPage = 1, lastPage = 9999;
    QString pageList;
};

// The typed name with the format's extension when it holds no ".".
QString outputFileName(const QString &typed, FileFormat format);

// "1-3,5" as the page numbers it names, in order, within 1..count; empty
// for a text that names none.
std::vector<int> pagesOfList(const QString &text, int count);

} // namespace plavex::reports
