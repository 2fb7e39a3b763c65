#include <gtest/gtest.h>
#include <unistd.h>

#include "core/DataFolder.h"
#include "core/XmlDocument.h"
#include "core/XmlRead.h"
#include "tests/core/XmlTestSupport.h"

using testing_support::LogCapture;
using namespace xml_test;

namespace {

ObjectWeakPointer<XmlElement> Root(const ObjectSmartPointer<XmlDocument>& document) { return document->GetRoot(); }

}  // namespace

TEST(XmlModel, NewElementHasNothingAndMarksNothing) {
    LogCapture log;
    ObjectSmartPointer<XmlElement> e = Element("a");
    EXPECT_TRUE(e->GetFirstAttribute() == NULL);
    EXPECT_TRUE(e->GetFirstChildNode() == NULL);
    EXPECT_TRUE(e->GetFirstChildElement() == NULL);
    EXPECT_TRUE(e->GetFirstChildElement("a") == NULL);
    EXPECT_TRUE(e->GetLastChildElement() == NULL);
    EXPECT_FALSE(e->IsVisited());
    EXPECT_TRUE(e->IsVisitedTree());  // a detached element's own mark does not count
    e->AppendChild(Element("b"));
    EXPECT_FALSE(e->IsVisitedTree());  // the child in the list does
    e->MarkVisitedTree();
    e = nullptr;
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST(XmlModel, AccessorsMarkOnlyWhatTheyReturn) {
    LogCapture log;
    ObjectSmartPointer<XmlDocument> d = ReadText("<r>t<b/><a k='1'/><a/><!--c--></r>");
    ObjectWeakPointer<XmlElement> r = Root(d);
    ObjectWeakPointer<XmlNode> text = r->FirstChildRaw()->GetSelf();
    ObjectWeakPointer<XmlElement> b = r->GetFirstChildElement();
    b->ResetVisited();

    ObjectWeakPointer<XmlElement> a1 = r->GetFirstChildElement("a");
    ASSERT_TRUE(a1 != NULL);
    EXPECT_TRUE(a1->IsVisited());
    EXPECT_FALSE(text->IsVisited());
    EXPECT_FALSE(b->IsVisited());
    EXPECT_FALSE(r->IsVisited());

    EXPECT_TRUE(a1->HasAttribute("k"));
    EXPECT_FALSE(a1->IsVisitedTree());
    EXPECT_EQ(a1->GetAttribute("k")->GetValue(), "1");
    EXPECT_TRUE(a1->IsVisitedTree());
    EXPECT_TRUE(a1->GetAttribute("K") == NULL);  // names are case-sensitive

    ObjectWeakPointer<XmlElement> a2 = a1->GetNextElement("a");
    ASSERT_TRUE(a2 != NULL);
    EXPECT_EQ(r->GetLastChildElement().AsObjectAddress(), a2.AsObjectAddress());
    EXPECT_EQ(a2->GetPrevElement().AsObjectAddress(), a1.AsObjectAddress());
    EXPECT_EQ(a1->GetPrevElement().AsObjectAddress(), b.AsObjectAddress());
    EXPECT_TRUE(a2->GetNextElement() == NULL);        // a comment, then the barrier
    EXPECT_TRUE(a2->GetNextNode()->GetNextNode() == NULL);
    EXPECT_TRUE(b->GetPrevElement() == NULL);
    EXPECT_TRUE(a1->GetFirstAttribute()->GetNextAttribute() == NULL);
    EXPECT_EQ(r->GetFirstChildNode().AsObjectAddress(), text.AsObjectAddress());
    EXPECT_TRUE(text->IsVisited());
    EXPECT_TRUE(r->IsVisitedTree());  // the root's own mark does not count
    d = nullptr;
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST(XmlModel, SpaceOnlyTextIsVisitedAndNotCopied) {
    ObjectSmartPointer<XmlDocument> d = ReadText("<r>\n\t <a/> \n</r>");
    ObjectWeakPointer<XmlElement> r = Root(d);
    XmlNode* space = r->FirstChildRaw();
    EXPECT_TRUE(space->IsVisited());
    EXPECT_FALSE(space->IsSignificant());
    r->ResetVisitedTree();
    EXPECT_TRUE(space->IsVisited());
    ObjectSmartPointer<XmlElement> copy(new XmlElement(r));
    ObjectWeakPointer<XmlNode> first = copy->GetFirstChildNode();
    EXPECT_TRUE(first.InstanceOf<XmlElement>());
    EXPECT_TRUE(first->GetNextNode() == NULL);
    EXPECT_TRUE(r->IsVisited());  // the copy marks its source
    copy->MarkVisitedTree();
    r->MarkVisitedTree();
}

TEST(XmlModel, RemoveDetachesAndReplaceKeepsOldLinks) {
    LogCapture log;
    ObjectSmartPointer<XmlElement> a = Element("a");
    ObjectSmartPointer<XmlElement> b = Element("b");
    a->AppendChild(Element("x"));
    a->AppendChild(Element("y"));
    ObjectSmartPointer<XmlElement> wHard = Element("w");
    a->PrependChild(wHard);
    ObjectWeakPointer<XmlElement> x = a->GetFirstChildElement("x");
    ObjectSmartPointer<XmlNode> removed = x->Remove();
    EXPECT_TRUE(removed->IsDetached());
    b->AppendChild(removed);
    EXPECT_EQ(b->GetFirstChildElement()->GetName(), "x");
    EXPECT_EQ(a->GetFirstChildElement()->GetName(), "w");
    EXPECT_EQ(a->GetFirstChildElement()->GetNextElement()->GetName(), "y");

    ObjectWeakPointer<XmlElement> w = a->GetFirstChildElement();
    ObjectSmartPointer<XmlElement> z = Element("z");
    ObjectWeakPointer<XmlElement> put = w->ReplaceWith(z);
    EXPECT_EQ(put.AsObjectAddress(), z.AsObjectAddress());
    EXPECT_FALSE(w->IsDetached());  // the old node keeps its own links
    EXPECT_EQ(a->GetFirstChildElement()->GetName(), "z");
    EXPECT_EQ(a->GetFirstChildElement()->GetNextElement()->GetName(), "y");

    z->InsertAfter(Element("after"));
    z->InsertBefore(Element("before"));
    EXPECT_EQ(a->GetFirstChildElement()->GetName(), "before");
    EXPECT_EQ(z->GetNextElement()->GetName(), "after");
    a->MarkVisitedTree();
    b->MarkVisitedTree();
    wHard = nullptr;  // visited by GetFirstChildElement
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST(XmlModel, DestroyingReportsEachUnvisitedAttributeAndNonRootNode) {
    const std::string text = "<r a='1'><b c='2' d='3'>t</b><e/></r>";
    {
        LogCapture log;
        ObjectSmartPointer<XmlDocument> d = ReadText(text);
        Root(d)->GetFirstChildElement("b")->GetAttribute("c");
        d = nullptr;
        // a, d; text t; element e (b was visited; the root never counts): the one check at its
        // one place, written once
        EXPECT_EQ(log.ErrorCount(), 1);
        EXPECT_TRUE(log.Contains("_isVisited"));
    }
    {
        LogCapture log;
        const std::string path = Dir() + "load.xml";
        testing_support::WriteFile(path, text);
        ObjectSmartPointer<XmlDocument> d = LoadXmlDocument(path);
        EXPECT_EQ(Root(d)->GetName(), "r");
        d = nullptr;
        EXPECT_EQ(log.ErrorCount(), 0);
    }
}

TEST(XmlModel, CheckVisitedDumpsTheUnreadPlacesIntoTheDataFolder) {
    const std::string dir = testing_support::MakeTempDir("visit");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    {
        LogCapture log;
        ObjectSmartPointer<XmlDocument> d = ReadText("<r a='1' b='&lt;'><x>t</x><y>u</y></r>");
        ObjectWeakPointer<XmlElement> r = Root(d);
        r->GetAttribute("a");
        r->GetFirstChildElement("y")->GetFirstChildNode();
        r->CheckVisited();
        EXPECT_TRUE(log.Contains(W("не посещённые места помечены << и >> в файле not-visited-marked.xml")));
        // Beside the log in the data folder, never in the working folder.
        EXPECT_EQ(testing_support::ReadFile(dataFolder + "not-visited-marked.xml"),
                  Crlf("<r a='1' <<b=\"&lt;\">>>\n\t<<x>t</x>>\n\t<y>u</y>\n</r>"));
        EXPECT_FALSE(testing_support::FileExists(dir + "not-visited-marked.xml"));
        d = nullptr;
        // The attribute b of the visited root stays unvisited; the written element x does not.
        EXPECT_EQ(log.ErrorCount(), 2);
    }
    {
        LogCapture log;
        testing_support::WriteFile(dataFolder + "not-visited-marked.xml", "old");
        ObjectSmartPointer<XmlDocument> d = ReadText("<r a='1'/>");
        Root(d)->GetAttribute("a");
        Root(d)->CheckVisited();
        EXPECT_EQ(testing_support::ReadFile(dataFolder + "not-visited-marked.xml"), "old");
        EXPECT_EQ(log.ErrorCount(), 0);
    }
    ASSERT_EQ(chdir(previous), 0);
}

TEST(XmlModel, NameChecksReportEveryBadCharacter) {
    struct Case {
        std::string name;
        std::string report;
        int errors;
    };
    const Case cases[] = {
        {"", "i != name.end()", 1},
        {"1a", "IsFirstNameLetter(*i)", 1},
        {"a b!", "IsSecondNameLetter(*i)", 1},  // two bad characters, one check: written once
        {"a\xE9", "IsSecondNameLetter(*i)", 1},
        {"_:a.b-9", "", 0},
    };
    for (const Case& c : cases) {
        LogCapture log;
        ObjectSmartPointer<XmlAttribute> a = Attribute(c.name, "v");
        EXPECT_EQ(a->NameRef(), c.name);
        a->MarkVisited();
        a = nullptr;
        EXPECT_EQ(log.ErrorCount(), c.errors) << c.name;
        if (!c.report.empty()) {
            EXPECT_TRUE(log.Contains(c.report)) << c.name;
        }
    }
}

TEST(XmlModel, DuplicateAttributeIsReportedAndAppended) {
    LogCapture log;
    ObjectSmartPointer<XmlElement> e = Element("e");
    e->AddAttribute(Attribute("a", "1"));
    e->AddAttribute(Attribute("a", "2"));
    EXPECT_TRUE(log.Contains("GetAttribute(newAttribute->GetName()) == NULL"));
    EXPECT_EQ(e->GetAttribute("a")->GetValue(), "1");
    EXPECT_EQ(e->GetFirstAttribute()->GetNextAttribute()->GetValue(), "2");
    e->MarkVisitedTree();
}

TEST(XmlModel, GetTextWantsOneTextChild) {
    LogCapture log;
    ObjectSmartPointer<XmlDocument> d = ReadText("<r><a>x &amp; y</a><b>1<c/></b></r>");
    ObjectWeakPointer<XmlElement> r = Root(d);
    EXPECT_EQ(r->GetFirstChildElement("a")->GetText(), "x & y");
    EXPECT_EQ(log.ErrorCount(), 0);
    EXPECT_EQ(r->GetFirstChildElement("b")->GetText(), "1");
    EXPECT_TRUE(log.Contains("p->GetNextNode() == NULL"));
    r->MarkVisitedTree();
}

TEST(XmlModel, LongSiblingListsAreReleasedWithoutDeepRecursion) {
    LogCapture log;
    ObjectSmartPointer<XmlElement> e = Element("e");
    for (int i = 0; i < 100000; ++i) e->AppendChild(Element("c"));
    e->AddAttribute(Attribute("a0", "v"));
    ObjectWeakPointer<XmlAttribute> first = e->GetFirstAttribute();
    for (int i = 0; i < 100000; ++i) first->InsertBefore(Attribute("a", "v"));
    e->MarkVisitedTree();
    e = nullptr;
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST(XmlModel, CopiedDocumentSharesCommentsAndDeepCopiesTheRoot) {
    ObjectSmartPointer<XmlDocument> d = ReadText("<?xml version='1.0' encoding='windows-1251'?><!--c--><r a='1'/>");
    ObjectSmartPointer<XmlDocument> copy(new XmlDocument(ObjectWeakPointer<XmlDocument>(d)));
    EXPECT_NE(copy->GetRoot().AsObjectAddress(), d->GetRoot().AsObjectAddress());
    EXPECT_EQ(copy->GetDeclaration()->GetEncoding(), "windows-1251");
    EXPECT_EQ(WrittenDocument(copy),
              Crlf("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<!--c-->\n<r a=\"1\"/>"));
}

TEST(XmlModel, ChecksInDestructorsAreLoggedNeverThrown) {
    LogCapture log;
    {
        AssertThrowGuard guard;
        ObjectSmartPointer<XmlElement> e = Element("e");
        e->AddAttribute(Attribute("a", "1"));
        e = nullptr;  // an unvisited attribute: logged, and no exception out of a destructor
    }
    EXPECT_EQ(log.ErrorCount(), 1);
    EXPECT_TRUE(log.Contains("_isVisited"));
}

TEST(XmlModel, LoadingAnUnreadableFileReportsTheMissingRoot) {
    LogCapture log;
    ObjectSmartPointer<XmlDocument> d = LoadXmlDocument(Dir() + "nothing-here.xml");
    EXPECT_TRUE(d->GetRoot() == NULL);
    EXPECT_TRUE(log.Contains("_object != NULL"));
    EXPECT_EQ(GetRootIntAttributeOrDef(d, "x", 4), 4);
}
