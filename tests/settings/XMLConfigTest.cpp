// Lookups in a configuration file: element paths, sites, and what fails.
#include "tests/settings/SettingsFixture.h"

#include "settings/XMLConfig.h"
#include "util/Errors.h"

namespace {

class XMLConfig : public ::testing::Test
{
protected:
    QString write(const QByteArray &content)
    {
        const QString name = fFolder.filePath("Config.xml");
        writeFile(name, content);
        return name;
    }

    QTemporaryDir fFolder;
};

TEST_F(XMLConfig, AMissingFileIsCreatedWithAnEmptySetupDocument)
{
    const QString name = fFolder.filePath("Config.xml");
    EXPECT_EQ(TXMLConfig(name).ReadValue("", "ProgramFolder", "default", 0), "default");
    EXPECT_EQ(fileBytes(name), QByteArray("<setup>\r\n</setup>\r\n"));
    EXPECT_EQ(fileBytes(name).size(), 19);
}

TEST_F(XMLConfig, ValuesAreFoundByLowerCasedPathBelowTheRootOrASite)
{
    const QString name = write(R"(<?xml version="1.0"?>
<setup>
  <general><programfolder>C:\Orvo</programfolder><empty/><blank></blank></general>
  <caps><ProgramFolder>not found</ProgramFolder></caps>
  <pos><till><printer>Receipt &amp; Kitchen</printer></till></pos>
  <site00007><general><programfolder>C:\Site7</programfolder></general></site00007>
  <site123456><general><programfolder>C:\Big</programfolder></general></site123456>
  <Ab><x>Mixed-case section element</x></Ab>
  <a><b>first</b><b>second</b></a>
</setup>
)");
    const struct
    {
        const char *section, *key;
        int site;
        const char *expected;
    } cases[] = {
        {"", "ProgramFolder", 0, "C:\\Orvo"},
        {"", "PROGRAMFOLDER", 0, "C:\\Orvo"},
        {"Caps", "ProgramFolder", 0, "default"},
        {"POS\\Till", "Printer", 0, "Receipt & Kitchen"},
        {"pos\\till\\", "printer", 0, "default"},
        // an empty part between backslashes names no element, not the first one there
        {"pos\\", "Printer", 0, "default"},
        {"", "ProgramFolder", 7, "C:\\Site7"},
        {"", "ProgramFolder", 123456, "C:\\Big"},
        {"", "ProgramFolder", 8, "default"},
        {"", "ProgramFolder", -3, "C:\\Orvo"},
        {"", "Empty", 0, ""},
        {"", "Blank", 0, ""},
        {"Ab", "x", 0, "default"},
        {"a", "b", 0, "first"},
        {"Missing\\Deeper", "Key", 0, "default"},
    };
    TXMLConfig config(name);
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key + "/" + std::to_string(c.site));
        EXPECT_EQ(config.ReadValue(c.section, c.key, "default", c.site), c.expected);
    }
}

TEST_F(XMLConfig, AnElementHoldingMoreThanOneTextFails)
{
    const QString name = write("<setup><general><mixed>text<b/>more</mixed><nested><a>1</a></nested>"
                               "<commented>a<!-- note -->b</commented></general></setup>");
    for (const char *key : {"mixed", "nested", "commented"}) {
        try {
            TXMLConfig(name).ReadValue("", key, "", 0);
            ADD_FAILURE() << "no error for " << key;
        } catch (const EPosError &e) {
            EXPECT_EQ(e.message(), QString("Element \"%1\" does not contain a single text node").arg(key));
        }
    }
}

TEST_F(XMLConfig, AMalformedFileFailsWithTheParsersMessageAndIsNotRewritten)
{
    const QByteArray cases[] = {
        "",
        "<setup>\r\n",
        "<setup></general>",
        "<setup/><second/>",
        "not xml at all",
        "<setup>\r\n<general><programfolder>C:\\</programfolder>\r\n</general>\r\n</setup>\r\n<",
    };
    for (const QByteArray &content : cases) {
        SCOPED_TRACE(content.toStdString());
        const QString name = write(content);
        try {
            TXMLConfig config(name);
            config.ReadValue("", "ProgramFolder", "", 0);
            ADD_FAILURE() << "no error";
        } catch (const EPosError &e) {
            EXPECT_TRUE(e.message().contains("line ")) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(name)) << e.message().toStdString();
        }
        EXPECT_EQ(fileBytes(name), content);
    }
}

TEST_F(XMLConfig, AFileThatCannotBeCreatedFailsTheConstructor)
{
    const QString name = fFolder.filePath("no such folder/Config.xml");
    try {
        TXMLConfig config(name);
        ADD_FAILURE() << "no error";
    } catch (const EPosError &e) {
        EXPECT_TRUE(e.message().startsWith("Cannot create file \"" + name + "\"")) << e.message().toStdString();
    }
}

} // namespace
