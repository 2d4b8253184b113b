#pragma once
// What the pay-run tests share: Debian's own Python (the one that sees
// python3-aiosmtpd and python3-openpyxl), xmllint, the schema, and a euro
// demo company made once per suite.
#include "tests/support/Reliability.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include <cmath>
#include <memory>

namespace plavex::test {

struct ToolRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};
// A program of the system run to its end (at most `timeoutMs`).
ToolRun runTool(const QString &program, const QStringList &args, int timeoutMs = 120000);

QString systemPython();
QString scriptPath(const char *name); // beside these tests
QString transferSchema();
// "FILE validates" from xmllint --schema, or its complaint.
ToolRun validateTransferFile(const QString &path);
// The text pdftotext finds in a PDF file.
QString pdfText(const QString &path);

// January 2026 (euro) with the demo's employees, made by the command line.
std::unique_ptr<CliCompany> euroDemoCompany(int employees);

// A suite sharing one such company: making it is the slow part.
template <int Employees>
class EuroCompanySuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() { company = euroDemoCompany(Employees).release(); }
    static void TearDownTestSuite()
    {
        delete company;
        company = nullptr;
    }
    static inline CliCompany *company = nullptr;
    CliCompany &c = *company;
};

inline qint64 cents(double amount) { return std::llround(amount * 100); }

} // namespace plavex::test
