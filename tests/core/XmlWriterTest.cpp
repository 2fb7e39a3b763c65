#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "core/XmlDocument.h"
#include "core/XmlRead.h"
#include "tests/core/XmlTestSupport.h"

using testing_support::FileExists;
using testing_support::FixturePath;
using testing_support::LogCapture;
using testing_support::ReadFile;
using testing_support::WriteFile;
using namespace xml_test;

namespace {

ObjectSmartPointer<XmlElement> Variable(const std::string& name, const std::string& type, const std::string& value) {
    ObjectSmartPointer<XmlElement> v = Element("Variable");
    v->SetStringAttribute("name", name);
    v->SetStringAttribute("type", type);
    v->SetStringAttribute("value", value);
    return v;
}

ObjectSmartPointer<XmlDocument> StorageExample() {
    ObjectSmartPointer<XmlElement> storage = Element("Storage");
    ObjectSmartPointer<XmlElement> globals = Element("Globals");
    globals->AppendChild(Variable("Use UTF-8", "bool", "false"));
    ObjectSmartPointer<XmlElement> volume = Variable("Volume", "float", "");
    volume->SetFloatAttribute("value", 0.5f);
    globals->AppendChild(volume);
    storage->AppendChild(globals);
    const std::string playerName = "\xC0\xED\xFF \"1\"";
    ObjectSmartPointer<XmlElement> players = Element("Players");
    players->SetStringAttribute("active", playerName);
    ObjectSmartPointer<XmlElement> player = Element("Player");
    player->SetStringAttribute("name", playerName);
    ObjectSmartPointer<XmlElement> money = Element("Variable");
    money->SetStringAttribute("name", "Money");
    money->SetStringAttribute("type", "int");
    money->SetIntAttribute("value", -15);
    player->AppendChild(money);
    ObjectSmartPointer<XmlElement> note = Element("Note");
    note->AppendChild(Text("a < b && c > d \"q\"\nline\ttab"));
    player->AppendChild(note);
    players->AppendChild(player);
    storage->AppendChild(players);
    return ObjectSmartPointer<XmlDocument>(new XmlDocument(storage));
}

ObjectSmartPointer<XmlDocument> ReadFileDocument(const std::string& path) {
    return ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(path));
}

std::string Value(const ObjectSmartPointer<XmlDocument>& d) { return d->GetRoot()->GetStringAttribute("v"); }

ObjectSmartPointer<XmlDocument> Saved(const std::string& value) {
    ObjectSmartPointer<XmlElement> root = Element("s");
    root->SetStringAttribute("v", value);
    return ObjectSmartPointer<XmlDocument>(new XmlDocument(root));
}

}  // namespace

TEST(XmlWriter, CodeBuiltStorageMatchesGoldenBytes) {
    LogCapture log;
    EXPECT_EQ(WrittenDocument(StorageExample()), ReadFile(FixturePath("core/fixtures/xml/storage_golden.xml")));
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST(XmlWriter, LayoutOfCodeBuiltTrees) {
    struct Case {
        std::string expected;
        ObjectSmartPointer<XmlElement> element;
    };
    ObjectSmartPointer<XmlElement> empty = Element("a");
    ObjectSmartPointer<XmlElement> oneAttribute = Element("a");
    oneAttribute->SetStringAttribute("b", "1");
    ObjectSmartPointer<XmlElement> text = Element("a");
    text->AppendChild(Text("t"));
    ObjectSmartPointer<XmlElement> textThenTag = Element("a");
    textThenTag->AppendChild(Text("t"));
    textThenTag->AppendChild(Element("b"));
    const Case cases[] = {
        {"<a/>", empty},
        {"<a b=\"1\"/>", oneAttribute},
        {"<a>t</a>", text},
        {"<a>t<b/>\r\n</a>", textThenTag},
    };
    for (const Case& c : cases) EXPECT_EQ(WrittenNode(c.element), c.expected);
}

TEST(XmlWriter, EscapeTables) {
    const std::string value = std::string("\n\t<>&\"'\r\x01\x1F") + "\x80\xFF z";
    ObjectSmartPointer<XmlElement> a = Element("a");
    a->SetStringAttribute("v", value);
    EXPECT_EQ(WrittenNode(a), "<a v=\"&#x0A;&#x09;&lt;&gt;&amp;&quot;'&#x0D;&#x01;&#x1F;\x80\xFF z\"/>");
    ObjectSmartPointer<XmlElement> t = Element("t");
    t->AppendChild(Text(value));
    EXPECT_EQ(WrittenNode(t), "<t>\r\n\t&lt;&gt;&amp;\"'&#x0D;&#x01;&#x1F;\x80\xFF z</t>");

    // What is escaped reads back as it was.
    ObjectSmartPointer<XmlDocument> back = ReadText(WrittenNode(a));
    EXPECT_EQ(back->GetRoot()->GetStringAttribute("v"), value);
}

// Long values are scanned in blocks: a byte to escape at a block's first or last place, or in
// the short tail, is found all the same.
TEST(XmlWriter, EscapesInLongTextsAtEveryPlace) {
    const char specials[] = {'<', '>', '&', '"', '\x01', '\t', '\n'};
    for (std::size_t at : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 39u}) {
        for (char special : specials) {
            std::string value(40, 'x');
            value[at] = special;
            value[39 - at / 2] = '&';
            std::string expected;
            for (char c : value) {
                switch (c) {
                    case '<': expected += "&lt;"; break;
                    case '>': expected += "&gt;"; break;
                    case '&': expected += "&amp;"; break;
                    case '"': expected += "&quot;"; break;
                    case '\x01': expected += "&#x01;"; break;
                    case '\t': expected += "&#x09;"; break;
                    case '\n': expected += "&#x0A;"; break;
                    default: expected += c;
                }
            }
            ObjectSmartPointer<XmlElement> a = Element("a");
            a->SetStringAttribute("v", value);
            EXPECT_EQ(WrittenNode(a), "<a v=\"" + expected + "\"/>") << "at " << at << " byte " << int(special);
        }
    }
}

TEST(XmlWriter, ReadDocumentsComeBackByteForByte) {
    LogCapture log;
    const std::string source = ReadFile(FixturePath("core/fixtures/xml/roundtrip.xml"));
    const std::string path = Dir() + "roundtrip.xml";
    WriteFile(path, source);
    ObjectSmartPointer<XmlDocument> d = ReadFileDocument(path);
    ASSERT_TRUE(d->GetRoot() != NULL);
    EXPECT_EQ(WrittenDocument(d), source);
    EXPECT_EQ(log.ErrorCount(), 0);

    // Tags that touch get the layout's line break and indentation.
    ObjectSmartPointer<XmlDocument> touching = ReadText("<a x = 'v' ><b/></a>");
    EXPECT_EQ(WrittenDocument(touching), "<a x = 'v' >\r\n\t<b/>\r\n</a>");

    // A copy of a read element is written in the normalised form, the element itself as read.
    ObjectSmartPointer<XmlDocument> r = ReadText("<a  x = 'v'><b y='&#65;'>t</b ></a>");
    ObjectSmartPointer<XmlNode> copy = r->GetRoot()->Clone();
    EXPECT_EQ(WrittenNode(copy), "<a x=\"v\">\r\n\t<b y=\"A\">t</b>\r\n</a>");
    EXPECT_EQ(WrittenNode(r->GetRoot()), "<a  x = 'v'>\r\n\t<b y='&#65;'>t</b >\r\n</a>");
}

TEST(XmlWriter, TextEndingInGreaterThanIsNotBrokenByTheLayout) {
    ObjectSmartPointer<XmlDocument> d = ReadText("<a>x ><b/>y ></a>");
    const std::string written = WrittenDocument(d);
    EXPECT_EQ(written, "<a>x ><b/>y ></a>");
    ObjectSmartPointer<XmlDocument> back = ReadText(written);
    EXPECT_EQ(back->GetRoot()->GetFirstChildNode().Cast<XmlText>()->GetValue(), "x >");
    back->GetRoot()->MarkVisitedTree();
}

TEST(XmlWriter, SaveKeepsThePreviousTextAsBackup) {
    LogCapture log;
    const std::string dir = testing_support::MakeTempDir("save");
    const std::string path = dir + "Storage.xml";
    EXPECT_TRUE(Saved("first")->Save(path));
    EXPECT_EQ(ReadFile(path), "<s v=\"first\"/>");
    EXPECT_FALSE(FileExists(path + ".bak"));
    EXPECT_TRUE(Saved("second")->Save(path));
    EXPECT_EQ(ReadFile(path), "<s v=\"second\"/>");
    EXPECT_EQ(ReadFile(path + ".bak"), "<s v=\"first\"/>");
    EXPECT_FALSE(FileExists(path + ".new"));
    EXPECT_TRUE(Saved("third")->Save(path));
    EXPECT_EQ(ReadFile(path + ".bak"), "<s v=\"second\"/>");
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST(XmlWriter, InterruptedSaveStatesReadAsTheOldOrTheNewFile) {
    const std::string dir = testing_support::MakeTempDir("crash");
    const std::string path = dir + "Storage.xml";
    // An older save cut short after the file became the backup, while ".new" was half written.
    WriteFile(path + ".bak", "<s v=\"old\"/>");
    WriteFile(path + ".new", "<s v=\"ne");
    EXPECT_EQ(Value(ReadFileDocument(path)), "old");
    EXPECT_EQ(ReadFile(path), "<s v=\"old\"/>");
    EXPECT_FALSE(FileExists(path + ".bak"));

    // The next save brings a stranded backup back first, so it becomes the backup again.
    ASSERT_EQ(rename(path.c_str(), (path + ".bak").c_str()), 0);
    EXPECT_TRUE(Saved("new")->Save(path));
    EXPECT_EQ(Value(ReadFileDocument(path)), "new");
    EXPECT_EQ(ReadFile(path + ".bak"), "<s v=\"old\"/>");

    // Cut short after the new text was whole: it is the newest and is read.
    ASSERT_EQ(unlink(path.c_str()), 0);
    WriteFile(path + ".new", "<s v=\"newest\"/>");
    EXPECT_EQ(Value(ReadFileDocument(path)), "newest");
    EXPECT_EQ(ReadFile(path + ".bak"), "<s v=\"old\"/>");
}

// The game killed at any instant of a save: each round kills a child that saves again and again,
// after a random wait, and the file is then always whole and one of the texts saved.
TEST(XmlWriter, AKillAtAnyInstantOfASaveLeavesAWholeFile) {
    const std::string dir = testing_support::MakeTempDir("kill");
    const std::string path = dir + "Storage.xml";
    std::srand(7);
    ASSERT_TRUE(Saved(std::string(200000, 'z'))->Save(path));
    for (int round = 0; round < 12; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int n = 0;; ++n) Saved(std::string(200000 + n % 7, static_cast<char>('a' + n % 26)))->Save(path);
        }
        usleep(static_cast<useconds_t>(2000 + std::rand() % 30000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        LogCapture log;
        const ObjectSmartPointer<XmlDocument> read = ReadFileDocument(path);
        ASSERT_TRUE(read->GetRoot() != NULL) << "round " << round;
        const std::string value = Value(read);
        EXPECT_GE(value.size(), 200000u);
        EXPECT_EQ(value.find_first_not_of(value[0]), std::string::npos);
        EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    }
}

TEST(XmlWriter, FailedWriteKeepsTheFileAndItsBackup) {
    const std::string dir = testing_support::MakeTempDir("full");
    const std::string path = dir + "Storage.xml";
    WriteFile(path, "<s v=\"old\"/>");
    WriteFile(path + ".bak", "<s v=\"older\"/>");
    ASSERT_EQ(symlink("/dev/full", (path + ".new").c_str()), 0);
    {
        LogCapture log;
        std::string failure;
        EXPECT_FALSE(Saved("new")->Save(path, &failure));
        EXPECT_TRUE(log.Contains(W("Не удалось записать ") + path + ".new"));
        EXPECT_TRUE(log.Contains("No space left on device")) << log.Text();
        EXPECT_EQ(failure, "No space left on device");
        EXPECT_EQ(ReadFile(path), "<s v=\"old\"/>");
        EXPECT_EQ(ReadFile(path + ".bak"), "<s v=\"older\"/>");
    }
    {
        // Under an assert-throw scope the first report throws; the file is untouched all the same.
        LogCapture log;
        AssertThrowGuard guard;
        EXPECT_THROW(Saved("new")->Save(path), AssertionFailedException);
        EXPECT_EQ(ReadFile(path), "<s v=\"old\"/>");
        EXPECT_EQ(ReadFile(path + ".bak"), "<s v=\"older\"/>");
    }
    unlink((path + ".new").c_str());
    ASSERT_EQ(mkdir((path + ".new").c_str(), 0700), 0);
    WriteFile(path + ".new/x", "");
    {
        LogCapture log;
        EXPECT_FALSE(Saved("new")->Save(path));
        EXPECT_TRUE(log.Contains(W("Не удалось открыть файл ") + path + ".new" + W(" в режиме w")));
        EXPECT_EQ(ReadFile(path), "<s v=\"old\"/>");
    }
}

TEST(XmlWriter, FailedRenameIsReportedAndLeavesTheNewText) {
    LogCapture log;
    const std::string dir = testing_support::MakeTempDir("rename");
    const std::string path = dir + "Storage.xml";
    // A folder in the file's place can be neither backed up nor replaced.
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    WriteFile(path + "/x", "kept");
    EXPECT_FALSE(Saved("new")->Save(path));
    EXPECT_TRUE(log.Contains(W("Не удалось переименовать ") + path + ".new" + W(" в ") + path));
    EXPECT_EQ(ReadFile(path + "/x"), "kept");
    EXPECT_EQ(ReadFile(path + ".new"), "<s v=\"new\"/>");
}
