#include <gtest/gtest.h>

#include <cstdlib>

#include "data/HookLists.h"
#include "data/Script.h"

namespace {

class Probe : public CDataIdentifier {
public:
    explicit Probe(const char* name) : CDataIdentifier(name) {}
    ~Probe() override { ++deaths; }
    static int deaths;
};
int Probe::deaths = 0;

TEST(HookListTest, EveryMessageTypeHasAnEmptyHookList) {
    ASSERT_EQ(g_eventHooks.size(), 318u);
    for (const CHookList& hooks : g_eventHooks)
        EXPECT_TRUE(hooks.IsEmpty());

    // The message path's hook step runs nothing.
    CNodeRef<CScriptCall> call(new CScriptCall);
    call->RunHooks(g_eventHooks[21]);
    EXPECT_TRUE(g_eventHooks[21].IsEmpty());
}

TEST(HookListTest, AHookListFreesTheBlocksItOwns) {
    // Leaks would be reported by the sanitizer.
    CHookList hooks;
    hooks.AddTail(std::malloc(16));
    hooks.AddTail(std::malloc(32));
    EXPECT_EQ(hooks.GetCount(), 2u);
}

TEST(HookListTest, SymbolTableHoldsNodesByNameInAnyCase) {
    Probe::deaths = 0;
    CNodeRef<CScriptSymbolTable> table(new CScriptSymbolTable);
    CDataNode* alpha = new Probe("Alpha");
    CNodeRef<CDataNode> shared(new Probe("beta"));
    EXPECT_TRUE(table->Add(alpha));
    EXPECT_TRUE(table->Add(shared.Get()));
    EXPECT_EQ(table->GetCount(), 2u);
    EXPECT_EQ(alpha->GetRefCount(), 1);
    EXPECT_EQ(shared->GetRefCount(), 2);
    EXPECT_EQ(table->Lookup("ALPHA"), alpha);
    EXPECT_EQ(table->Lookup("alpha"), alpha);
    EXPECT_EQ(table->Lookup("Beta"), shared.Get());
    EXPECT_EQ(table->Lookup("gamma"), nullptr);
    EXPECT_EQ(table->Lookup(nullptr), nullptr);

    // A node without a name is not kept.
    EXPECT_FALSE(table->Add(new Probe("")));
    EXPECT_EQ(Probe::deaths, 1);

    // The same name again: the earlier node is released.
    CDataNode* replacement = new Probe("ALPHA");
    EXPECT_TRUE(table->Add(replacement));
    EXPECT_EQ(Probe::deaths, 2);
    EXPECT_EQ(table->Lookup("alpha"), replacement);
    EXPECT_EQ(table->GetCount(), 2u);

    // Clearing deletes the nodes only the table held; the others lose one
    // reference.
    table->Clear();
    EXPECT_EQ(Probe::deaths, 3);
    EXPECT_EQ(shared->GetRefCount(), 1);
    EXPECT_EQ(table->GetCount(), 0u);
    EXPECT_EQ(table->Lookup("beta"), nullptr);
    table->Clear();
    EXPECT_EQ(table->GetCount(), 0u);

    // Destroying the table releases what it still holds.
    table->Add(shared.Get());
    table.Reset();
    EXPECT_EQ(shared->GetRefCount(), 1);
}

} // namespace
