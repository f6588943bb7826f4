#include "framework/CDocument.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "framework/CArchive.h"
#include "framework/CView.h"

namespace {

/// (view, sender, hint, hintObject) of every update any view is told of, in order.
using Updates = std::vector<std::tuple<const CView*, CView*, long, CObject*>>;

class RecordingView : public CView {
public:
    explicit RecordingView(Updates& shared) : log(shared) {}
    void OnUpdate(CView* sender, long hint, CObject* hintObject) override {
        log.emplace_back(this, sender, hint, hintObject);
    }
    Updates& log;
};

/// A document whose preparation for a new content can be made to fail.
class RefusingDocument : public CDocument {
public:
    bool refuse = false;

protected:
    bool CanStartNewDocument() override { return !refuse; }
};

TEST(CDocumentTest, OnNewDocumentClearsTheModifiedFlagUnlessThePreparationFails) {
    RefusingDocument document;
    document.SetModifiedFlag();
    document.refuse = true;
    EXPECT_FALSE(document.OnNewDocument());
    EXPECT_TRUE(document.IsModified());
    document.refuse = false;
    EXPECT_TRUE(document.OnNewDocument());
    EXPECT_FALSE(document.IsModified());
}

/// A document of bytes that keeps no content aside of its own; a load fails after reading
/// "bad".
class BytesDocument : public CDocument {
public:
    void Serialize(CArchive& archive) override {
        if (archive.IsStoring()) {
            archive.Write(text.data(), static_cast<unsigned>(text.size()));
            return;
        }
        text.clear();
        char buffer[64];
        while (unsigned count = archive.Read(buffer, sizeof buffer)) {
            text.append(buffer, count);
        }
        if (text.rfind("bad", 0) == 0) {
            throw std::bad_alloc();
        }
    }
    std::string text;
};

// Without a way of its own, a failed load puts back what Serialize had stored before it.
TEST(CDocumentTest, AFailedOpenPutsBackTheStoredContent) {
    const std::string path = ::testing::TempDir() + "velk-bytes-document";
    std::ofstream(path, std::ios::binary) << "bad bytes";
    BytesDocument document;
    document.text = "mine";
    document.SetModifiedFlag();
    EXPECT_FALSE(document.OnOpenDocument(path));
    EXPECT_EQ(document.text, "mine");
    EXPECT_TRUE(document.IsModified());
    EXPECT_FALSE(document.LastOpenTouchedContent());
    std::filesystem::remove(path);
}

TEST(CDocumentTest, UpdateAllViewsReachesEveryViewButTheSenderInOrder) {
    Updates log;
    RecordingView first(log), second(log), third(log);
    CDocument document, hintObject;
    for (CView* view : {&first, &second, &third}) {
        document.AddView(view);
    }
    document.UpdateAllViews(&second, 7, &hintObject);
    document.UpdateAllViews(nullptr);
    EXPECT_EQ(log, (Updates{{&first, &second, 7, &hintObject},
                            {&third, &second, 7, &hintObject},
                            {&first, nullptr, 0, nullptr},
                            {&second, nullptr, 0, nullptr},
                            {&third, nullptr, 0, nullptr}}));
}

// A view belongs to at most one document, once; either side may die first (the sanitizer build
// catches a dangling pointer on the other).
TEST(CDocumentTest, ViewsAttachOnceMoveBetweenDocumentsAndOutliveEitherSide) {
    Updates log;
    RecordingView view(log);
    auto one = std::make_unique<CDocument>();
    CDocument two;
    auto updatesFrom = [&log](CDocument& document) {
        log.clear();
        document.UpdateAllViews(nullptr);
        return log.size();
    };
    one->AddView(&view);
    one->AddView(&view);
    two.RemoveView(&view);  // not attached there: left alone
    EXPECT_EQ(view.GetDocument(), one.get());
    EXPECT_EQ(updatesFrom(*one), 1u);

    two.AddView(&view);
    EXPECT_EQ(view.GetDocument(), &two);
    EXPECT_EQ(updatesFrom(*one), 0u);
    two.RemoveView(&view);
    EXPECT_EQ(view.GetDocument(), nullptr);
    EXPECT_EQ(updatesFrom(two), 0u);

    one->AddView(&view);
    {
        RecordingView shortLived(log);
        one->AddView(&shortLived);
    }
    EXPECT_EQ(updatesFrom(*one), 1u);
    one.reset();
    EXPECT_EQ(view.GetDocument(), nullptr);
}

TEST(CRuntimeClassTest, TheRootClassIsNotCreatable) {
    EXPECT_EQ(CObject::classCObject.CreateObject(), nullptr);
}

}  // namespace
