#include "framework/CDocument.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/CObject.h"
#include "framework/CView.h"

namespace {

/// Records every update it is told of.
class RecordingView : public CView {
public:
    struct Update {
        CView* sender;
        long hint;
        CObject* hintObject;
    };
    void OnUpdate(CView* sender, long hint, CObject* hintObject) override {
        updates.push_back(Update{sender, hint, hintObject});
        if (order != nullptr) {
            order->push_back(this);
        }
    }
    std::vector<Update> updates;
    std::vector<CView*>* order = nullptr;
};

/// A document whose preparation for a new content can be made to fail.
class RefusingDocument : public CDocument {
public:
    bool refuse = false;

protected:
    bool CanStartNewDocument() override { return !refuse; }
};

TEST(CDocumentModifiedFlag, StartsClearAndFollowsSetModifiedFlag) {
    CDocument document;
    EXPECT_FALSE(document.IsModified());
    document.SetModifiedFlag();
    EXPECT_TRUE(document.IsModified());
    document.SetModifiedFlag(false);
    EXPECT_FALSE(document.IsModified());
}

TEST(CDocumentOnNewDocument, SucceedsAndClearsTheModifiedFlag) {
    RefusingDocument document;
    document.SetModifiedFlag();
    EXPECT_TRUE(document.OnNewDocument());
    EXPECT_FALSE(document.IsModified());
}

TEST(CDocumentOnNewDocument, FailureChangesNothing) {
    RefusingDocument document;
    document.refuse = true;
    document.SetModifiedFlag();
    EXPECT_FALSE(document.OnNewDocument());
    EXPECT_TRUE(document.IsModified());
}

TEST(CDocumentViews, UpdateAllViewsReachesEveryViewButTheSenderInOrder) {
    CDocument document;
    std::vector<CView*> order;
    RecordingView first, second, third;
    for (RecordingView* view : {&first, &second, &third}) {
        view->order = &order;
        document.AddView(view);
    }
    CDocument hintObject;

    document.UpdateAllViews(&second, 7, &hintObject);
    EXPECT_EQ(order, (std::vector<CView*>{&first, &third}));
    ASSERT_EQ(first.updates.size(), 1u);
    EXPECT_EQ(first.updates[0].sender, &second);
    EXPECT_EQ(first.updates[0].hint, 7);
    EXPECT_EQ(first.updates[0].hintObject, &hintObject);
    EXPECT_TRUE(second.updates.empty());

    order.clear();
    document.UpdateAllViews(nullptr);
    EXPECT_EQ(order, (std::vector<CView*>{&first, &second, &third}));
    EXPECT_EQ(third.updates[1].hint, 0);
    EXPECT_EQ(third.updates[1].hintObject, nullptr);
}

TEST(CDocumentViews, AddViewAttachesOnceAndMovesAViewBetweenDocuments) {
    CDocument one, two;
    RecordingView view;
    EXPECT_EQ(view.GetDocument(), nullptr);

    one.AddView(&view);
    one.AddView(&view);
    EXPECT_EQ(view.GetDocument(), &one);
    one.UpdateAllViews(nullptr);
    EXPECT_EQ(view.updates.size(), 1u);

    two.AddView(&view);
    EXPECT_EQ(view.GetDocument(), &two);
    one.UpdateAllViews(nullptr);
    EXPECT_EQ(view.updates.size(), 1u);
    two.UpdateAllViews(nullptr);
    EXPECT_EQ(view.updates.size(), 2u);
}

TEST(CDocumentViews, RemoveViewDetachesOnlyItsOwnViews) {
    CDocument one, two;
    RecordingView view;
    one.AddView(&view);
    two.RemoveView(&view);
    EXPECT_EQ(view.GetDocument(), &one);
    one.RemoveView(&view);
    EXPECT_EQ(view.GetDocument(), nullptr);
    one.UpdateAllViews(nullptr);
    EXPECT_TRUE(view.updates.empty());
}

// Either side may die first; the sanitizer build catches a dangling pointer on the other.
TEST(CDocumentViews, ADestroyedViewLeavesItsDocument) {
    CDocument document;
    RecordingView survivor;
    document.AddView(&survivor);
    {
        RecordingView shortLived;
        document.AddView(&shortLived);
    }
    document.UpdateAllViews(nullptr);
    EXPECT_EQ(survivor.updates.size(), 1u);
}

TEST(CDocumentViews, ADestroyedDocumentDetachesItsViews) {
    RecordingView view;
    {
        CDocument document;
        document.AddView(&view);
    }
    EXPECT_EQ(view.GetDocument(), nullptr);
}

class Gadget : public CObject {
    DECLARE_DYNCREATE(Gadget)
public:
    int value = 42;
};

IMPLEMENT_DYNCREATE(Gadget)

TEST(CRuntimeClassTest, CreatesADefaultObjectOfTheClassByItsRuntimeClass) {
    const CRuntimeClass* runtimeClass = RUNTIME_CLASS(Gadget);
    EXPECT_EQ(std::string(runtimeClass->className), "Gadget");

    std::unique_ptr<CObject> made(runtimeClass->CreateObject());
    auto* gadget = dynamic_cast<Gadget*>(made.get());
    ASSERT_NE(gadget, nullptr);
    EXPECT_EQ(gadget->value, 42);
    EXPECT_EQ(made->GetRuntimeClass(), runtimeClass);
}

TEST(CRuntimeClassTest, TheRootClassIsNotCreatable) {
    EXPECT_EQ(CObject::classCObject.CreateObject(), nullptr);
    RecordingView view;
    EXPECT_EQ(view.GetRuntimeClass(), &CObject::classCObject);
}

}  // namespace
