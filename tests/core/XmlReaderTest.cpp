#include <gtest/gtest.h>

#include <chrono>

#include "core/XmlDocument.h"
#include "core/XmlRead.h"
#include "tests/core/XmlTestSupport.h"

using testing_support::FileExists;
using testing_support::LogCapture;
using testing_support::ReadFile;
using testing_support::WriteFile;
using namespace xml_test;

namespace {

ObjectSmartPointer<XmlDocument> ReadFileDocument(const std::string& path) {
    return ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(path));
}

std::string Normalised(const ObjectSmartPointer<XmlDocument>& document) {
    ObjectSmartPointer<XmlDocument> copy(new XmlDocument(ObjectWeakPointer<XmlDocument>(document)));
    return WrittenDocument(copy);
}

struct Rejected {
    const char* text;
    std::string report;
    int line;
};

}  // namespace

TEST(XmlReader, RejectsWhatTheGrammarLeavesOutWithCheckAndLine) {
    const Rejected cases[] = {
        {"", "GetCurrent() == c", 1},
        {" <?xml version='1.0'?><a/>", "IsFirstNameLetter()", 1},
        {"\xEF\xBB\xBF \xEF\xBB\xBF<a/>", "GetCurrent() == c", 1},
        {"<?xml version='1.1'?><a/>", "GetCurrent() == c", 1},
        {"<?xml version='1.0' standalone='yes'?><a/>", "GetCurrent() == c", 1},
        {"<?xml version='1.0'encoding='x'?><a/>", "in->IsSpace()", 1},
        {"<?xml version='1.0' encoding='1x'?><a/>", "in->IsFirstEncodingLetter()", 1},
        {"<?xml version='1.0\"?><a/>", "in->GetCurrent() == _versionQuote", 1},
        {"<?xml version=1.0?><a/>", "in->IsQuote()", 1},
        {"<a x='1'y='2'/>", "in->IsSpace()", 1},
        {"<a x '1'/>", "in->GetCurrent() == '='", 1},
        {"<a\n x='&#256;'/>", "0 <= value && value <= 255", 2},
        {"<a x='&#x100;'/>", "0 <= value && value <= 255", 1},
        {"<a x='&#X41;'/>", "in->IsDec()", 1},
        {"<a x='&#x;'/>", "in->IsHex()", 1},
        {"<a x='&nbsp;'/>", "false", 1},
        {"<a x='&lt'/>", "GetCurrent() == c", 1},
        {"<a x='1<2'/>", "false", 1},
        {"<a x='1", "false", 1},
        {"<a x='1'", "in->IsSpace()", 1},
        {"<a>\n<!-- x -- y --></a>", "GetCurrent() == c", 2},
        {"<a><![CDATA[x]]></a>", "GetCurrent() == c", 1},
        {"<!DOCTYPE a>\n<a/>", "GetCurrent() == c", 1},
        {"<a>\n\n<?pi?></a>", "IsFirstNameLetter()", 3},
        {"<a/><b/>", "in->GetCurrent() == in->END", 1},
        {"<a/>\ntext", "in->GetCurrent() == in->END", 2},
        {"<a>\x01</a>", "false", 1},
        {"<a>text", "false", 1},
        {"<a>\n<b>\n<c x='1' x='2'/>\n</b>\n</a>", "GetAttribute(newAttribute->GetName()) == NULL", 3},
        {"<a>\n<b>\n</c>\n</a>",
         W("Имя закрывающего тега c\nне соответствует имени открывающего тега b"), 3},
        {"<?xml version='1.0' encoding='us-ascii'?>\n<a>\xE9</a>", "0 <= c && c <= 127", 1},
        {"<?xml version='1.0' encoding='US-ASCII'?><a x='\xE9'/>", "0 <= c && c <= 127", 1},
        {"<a>&#65</a>", "GetCurrent() == c", 1},
        {"<a\xE9/>", "in->IsSpace()", 1},
    };
    const std::string path = Dir() + "rejected.xml";
    for (const Rejected& c : cases) {
        LogCapture log;
        WriteFile(path, c.text);
        ObjectSmartPointer<XmlDocument> d = ReadFileDocument(path);
        EXPECT_TRUE(d->GetRoot() == NULL) << c.text;
        EXPECT_TRUE(log.Contains(W("Ошибка в строке ") + std::to_string(c.line) + W(" файла\n") + path + "\n"))
            << c.text;
        EXPECT_TRUE(log.Contains(c.report)) << c.text;
        EXPECT_TRUE(log.Contains(W("Ошибка чтения XML документа\n[\n"))) << c.text;
        EXPECT_EQ(ReadFile(path), c.text);  // no good backup: the file stays
    }
}

TEST(XmlReader, AcceptsTheGrammarAndWritesItBackUnchanged) {
    const char* cases[] = {
        "<?xml version='1.0'?>\n<a/>",
        "<?xml version = \"1.0\"  encoding='US-ASCII' ?>\n<a/>",
        "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<a>\xE9\xFF</a>",
        "<!--c--> <a x = '\">' y=\"'\">1 > 0 &apos;&quot;&#x4a;&#074;</a> <!--d-->\n",
        "<a x='1' />",
        "<a\tx='1'\n/>",
        "<a>\n</a>",
        "<a >t</a >",
        "<_:a.b-c/>",
        "<a>\n\t<b>x<!---->y</b>\n</a>",
    };
    const std::string path = Dir() + "accepted.xml";
    for (const char* text : cases) {
        LogCapture log;
        WriteFile(path, text);
        ObjectSmartPointer<XmlDocument> d = ReadFileDocument(path);
        ASSERT_TRUE(d->GetRoot() != NULL) << text;
        EXPECT_EQ(WrittenDocument(d), Crlf(text)) << text;
        EXPECT_EQ(log.ErrorCount(), 0) << text;
    }
}

TEST(XmlReader, AByteOrderMarkIsSkippedAndNotWrittenBack) {
    const std::string path = Dir() + "bom.xml";
    for (const std::string text : {"\xEF\xBB\xBF<?xml version='1.0'?>\n<a x='1'/>", "\xEF\xBB\xBF<a>\n</a>\n"}) {
        LogCapture log;
        WriteFile(path, text);
        ObjectSmartPointer<XmlDocument> d = ReadFileDocument(path);
        ASSERT_TRUE(d->GetRoot() != NULL) << text;
        d->GetRoot()->MarkVisitedTree();
        EXPECT_EQ(WrittenDocument(d), Crlf(text.substr(3))) << text;
        ObjectSmartPointer<XmlDocument> fromText = ReadText(text);
        ASSERT_TRUE(fromText->GetRoot() != NULL) << text;
        fromText->GetRoot()->MarkVisitedTree();
        EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    }
}

TEST(XmlReader, NestingDeeperThanTheLimitIsRefusedWithItsLine) {
    struct Case {
        int depth;
        bool accepted;
    };
    const std::string path = Dir() + "nested.xml";
    for (const Case c : {Case{XmlInText::MAX_DEPTH, true}, Case{XmlInText::MAX_DEPTH + 1, false}, Case{200000, false}}) {
        std::string text;
        for (int i = 0; i < c.depth; ++i) text += "<a>\n";
        for (int i = 0; i < c.depth; ++i) text += "</a>";
        LogCapture log;
        WriteFile(path, text);
        ObjectSmartPointer<XmlDocument> d = ReadFileDocument(path);
        if (c.accepted) {
            ASSERT_TRUE(d->GetRoot() != NULL) << c.depth;
            d->GetRoot()->MarkVisitedTree();
            EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
        } else {
            EXPECT_TRUE(d->GetRoot() == NULL) << c.depth;
            EXPECT_TRUE(log.Contains("depth < MAX_DEPTH")) << c.depth;
            const std::string line = std::to_string(XmlInText::MAX_DEPTH + 1);
            EXPECT_TRUE(log.Contains(W("Ошибка в строке ") + line + W(" файла\n") + path + "\n")) << c.depth;
        }
        // The text reader stops there as well.
        ObjectSmartPointer<XmlDocument> fromText = ReadText(text);
        EXPECT_EQ(fromText->GetRoot() == NULL, !c.accepted) << c.depth;
        if (fromText->GetRoot() != NULL) fromText->GetRoot()->MarkVisitedTree();
    }
}

TEST(XmlReader, ManyAttributesAreReadAndDuplicatesFoundAtAnyPlace) {
    // 50,000 attributes: each duplicate check must not scan the list.
    std::string many = "<a";
    for (int i = 0; i < 50000; ++i) many += " n" + std::to_string(i) + "='" + std::to_string(i) + "'";
    many += "/>";
    const std::string path = Dir() + "attributes.xml";
    {
        LogCapture log;
        WriteFile(path, many);
        const auto start = std::chrono::steady_clock::now();
        ObjectSmartPointer<XmlDocument> d = ReadFileDocument(path);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
        ASSERT_TRUE(d->GetRoot() != NULL);
        EXPECT_EQ(d->GetRoot()->GetAttribute("n49999")->GetValue(), "49999");
        d->GetRoot()->MarkVisitedTree();
        EXPECT_EQ(WrittenDocument(d), many);
        EXPECT_EQ(log.ErrorCount(), 0);
    }
    // A duplicate among the first few, past them, and late in a long list.
    for (const int duplicateAt : {3, 9, 40000}) {
        std::string text = "<a";
        for (int i = 0; i < duplicateAt; ++i) text += " n" + std::to_string(i) + "='1'";
        text += " n" + std::to_string(duplicateAt / 2) + "='2'/>";
        LogCapture log;
        WriteFile(path, text);
        ObjectSmartPointer<XmlDocument> d = ReadFileDocument(path);
        EXPECT_TRUE(d->GetRoot() == NULL) << duplicateAt;
        EXPECT_TRUE(log.Contains("GetAttribute(newAttribute->GetName()) == NULL")) << duplicateAt;
    }
}

TEST(XmlReader, ValuesAndSourceForms) {
    LogCapture log;
    ObjectSmartPointer<XmlDocument> d =
        ReadText("<?xml version='1.0'?><a x='&lt;&#65;&#x42;&amp;&gt;&apos;&quot;' e='' s=' \t'>1 > 0\n &#10;</a>");
    ObjectWeakPointer<XmlElement> a = d->GetRoot();
    EXPECT_TRUE(d->GetDeclaration()->IsPresent());
    EXPECT_EQ(d->GetDeclaration()->GetEncoding(), "");
    EXPECT_EQ(a->GetAttribute("x")->GetValue(), "<AB&>'\"");
    EXPECT_EQ(a->GetAttribute("e")->GetValue(), "");
    EXPECT_EQ(a->GetAttribute("s")->GetValue(), " \t");
    ObjectWeakPointer<XmlText> text = a->GetFirstChildNode().Cast<XmlText>();
    EXPECT_EQ(text->GetValue(), "1 > 0\n \n");
    EXPECT_FALSE(text->IsSpaceOnly());

    ObjectSmartPointer<XmlDocument> empty = ReadText("<a x='1' />");
    XmlElementRead* e = dynamic_cast<XmlElementRead*>(empty->GetRoot().Get());
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->IsEmptyTag());
    EXPECT_TRUE(empty->GetRoot()->HasAttribute("x"));
    empty->GetRoot()->MarkVisitedTree();
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST(XmlReader, LineEndsReadAlikeAndCountLines) {
    const std::string lf = "<r>\n\t<a x='1\n2'>t\nu</a>\n\t<b/>\n</r>\n";
    const std::string crlf = "<r>\r\n\t<a x='1\r\n2'>t\r\nu</a>\r\n\t<b/>\r\n</r>\r\n";
    const std::string cr = "<r>\r\t<a x='1\r2'>t\ru</a>\r\t<b/>\r</r>\r";
    const std::string expected = Normalised(ReadText(lf));
    EXPECT_EQ(Normalised(ReadText(crlf)), expected);
    EXPECT_EQ(Normalised(ReadText(cr)), expected);
    // CR CR LF is two line ends.
    ObjectSmartPointer<XmlDocument> d = ReadText("<r>\r\r\n</r>");
    EXPECT_EQ(d->GetRoot()->FirstChildRaw()->GetSelf().Cast<XmlText>()->GetValue(), "\n\n");

    const std::string path = Dir() + "lines.xml";
    for (const std::string& broken : {std::string("<r>\n<a/>\n<b x='1'y='2'/>\n</r>"),
                                      std::string("<r>\r\n<a/>\r\n<b x='1'y='2'/>\r\n</r>"),
                                      std::string("<r>\r<a/>\r<b x='1'y='2'/>\r</r>")}) {
        LogCapture log;
        WriteFile(path, broken);
        ReadFileDocument(path);
        EXPECT_TRUE(log.Contains(W("Ошибка в строке 3 файла\n"))) << broken;
    }
}

TEST(XmlReader, BackupMatrix) {
    const std::string good = "<s v='bak'/>";
    // The root is read before the failure: what the failed attempt built is dropped without reports.
    const std::string broken = "<s v='x'/><t/>";
    struct Case {
        bool fileMissing;
        bool backupGood;
    };
    for (const Case c : {Case{false, true}, Case{true, true}, Case{false, false}, Case{true, false}}) {
        const std::string dir = testing_support::MakeTempDir("bak");
        const std::string path = dir + "Storage.xml";
        if (!c.fileMissing) WriteFile(path, broken);
        WriteFile(path + ".bak", c.backupGood ? good : broken);
        LogCapture log;
        ObjectSmartPointer<XmlDocument> d = ReadFileDocument(path);
        if (c.backupGood) {
            ASSERT_TRUE(d->GetRoot() != NULL);
            EXPECT_EQ(d->GetRoot()->GetAttribute("v")->GetValue(), "bak");
            EXPECT_EQ(ReadFile(path), good);
            EXPECT_FALSE(FileExists(path + ".bak"));
            // The broken file may hold what the backup lacks: it is kept, not deleted.
            EXPECT_EQ(FileExists(path + ".unreadable-1"), !c.fileMissing);
            if (!c.fileMissing) {
                EXPECT_EQ(ReadFile(path + ".unreadable-1"), broken);
            }
            // The failed first attempt is logged: its check and the report naming file and line. A
            // missing file is no failure: the whole backup takes its place before the reading.
            EXPECT_EQ(log.ErrorCount(), c.fileMissing ? 0 : 2);
            EXPECT_FALSE(log.Contains(W("Ошибка чтения XML документа")));
        } else {
            EXPECT_TRUE(d->GetRoot() == NULL);
            EXPECT_TRUE(log.Contains(W("Ошибка чтения XML документа\n[\n")));
            EXPECT_TRUE(log.Contains(path + ".bak"));
            // Two per attempt and the final report; two broken files fail the same check at the same
            // place, which is written once.
            EXPECT_EQ(log.ErrorCount(), c.fileMissing ? 5 : 4);
            EXPECT_EQ(FileExists(path), !c.fileMissing);
            EXPECT_EQ(ReadFile(path + ".bak"), broken);
        }
        if (c.fileMissing) {
            EXPECT_TRUE(log.Contains(W("Не удалось открыть файл ") + path + W(" в режиме rb")) || c.backupGood);
        }
    }
}

TEST(XmlReader, BothFailingThrowsOnlyUnderTheCallersGuard) {
    const std::string path = Dir() + "missing-both.xml";
    AssertThrowGuard guard;
    EXPECT_THROW(ReadFileDocument(path), AssertionFailedException);
}

TEST(XmlReader, MemoryReaderStopsAtTheFirstRejectedByte) {
    const char* cases[] = {"<a><!-- x", "<a x='1", "<a>text", "<a>\x02</a>", "<a x='&#300;'/>", "<a><b></a>",
                           "<?xml version='1.0' encoding='us-ascii'?><a>\xE9\xE9</a>"};
    for (const char* text : cases) {
        LogCapture log;
        ObjectSmartPointer<XmlDocument> d = ReadText(text);
        EXPECT_TRUE(d->GetRoot() == NULL) << text;
        EXPECT_GE(log.ErrorCount(), 1) << text;
        EXPECT_LE(log.ErrorCount(), 2) << text;
    }
    {
        // What was read before the failure stays.
        LogCapture log;
        ObjectSmartPointer<XmlDocument> d = ReadText("<a/><b/>");
        ASSERT_TRUE(d->GetRoot() != NULL);
        EXPECT_EQ(d->GetRoot()->GetName(), "a");
        EXPECT_TRUE(log.Contains("in->GetCurrent() == in->END"));
    }
    AssertThrowGuard guard;
    EXPECT_THROW(ReadText("<a x='1<'/>"), AssertionFailedException);
}
