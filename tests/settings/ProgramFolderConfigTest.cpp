// "Config.xml" beside the running program, read through the free lookups.
#include "tests/settings/SettingsFixture.h"

#include "settings/XMLConfig.h"
#include "settings/uOrvoReg.h"
#include "util/Errors.h"

#include <QCoreApplication>

namespace {

class ProgramFolderConfig : public SettingsFixture
{
protected:
    void SetUp() override
    {
        SettingsFixture::SetUp();
        QFile::remove(fFile);
    }
    void TearDown() override
    {
        QFile::remove(fFile);
        SettingsFixture::TearDown();
    }

    void writeConfig(const QByteArray &content) const { writeFile(fFile, content); }
    QByteArray configBytes() const { return fileBytes(fFile); }

    const QString fFile = QCoreApplication::applicationDirPath() + "/Config.xml";
};

// One test on purpose: the file beside the program is shared by every test
// of this program, so they must not run as parallel processes.
TEST_F(ProgramFolderConfig, LookupsInTheFileBesideTheProgram)
{
    // Without a file: created, and the registry's answer (its default) returned and stored.
    EXPECT_EQ(ReadSetting("ProgramFolder", "", "C:\\Default"), "C:\\Default");
    EXPECT_EQ(configBytes(), QByteArray("<setup>\r\n</setup>\r\n"));
    EXPECT_EQ(stored(RegRoot::LocalMachine, "", "ProgramFolder").data, textBytes("C:\\Default"));

    // The registry has the last word even when the file holds the value.
    writeConfig("<setup><general><programfolder>C:\\FromFile</programfolder></general></setup>");
    EXPECT_EQ(ReadXMLSetting("", "ProgramFolder", "", 0), "C:\\FromFile");
    EXPECT_EQ(ReadSetting("ProgramFolder", "", ""), "C:\\Default");

    const struct
    {
        QByteArray stored;
        QString expected;
    } values[] = {
        {"B64" + QString("Caf\u00e9 \u20ac5").toUtf8().toBase64(), "Caf\u00e9 \u20ac5"},
        {"B64", ""},
        {"B64Q2Fm\r\nw6k=", "Caf\u00e9"},
        {"b64Q2Fmw6k=", "b64Q2Fmw6k="},
        {" B64Q2Fmw6k=", " B64Q2Fmw6k="},
        {"plain", "plain"},
    };
    for (const auto &v : values) {
        SCOPED_TRACE(v.stored.toStdString());
        writeConfig("<setup><site00003><pos><code>" + v.stored + "</code></pos></site00003></setup>");
        EXPECT_EQ(ReadXMLSetting("POS", "Code", "default", 3), v.expected);
    }

    // A malformed file: the parser's message, no registry write, the file as it was.
    const QByteArray broken = "<setup><general>";
    writeConfig(broken);
    EXPECT_THROW(ReadSetting("Skin", "", "x"), EPosError);
    EXPECT_FALSE(raw(RegRoot::LocalMachine, "", "Skin"));
    EXPECT_EQ(configBytes(), broken);
}

} // namespace
