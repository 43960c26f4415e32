#include <functional>
#include <string>
#include <vector>

#include "data/DataTree.h"
#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "engine/ObjectId.h"
#include "tests/data/TextFormatFixture.h"

namespace {

// An integer node that counts its deletions.
class Probe : public CDataInt {
public:
    explicit Probe(int32_t value = 0) : CDataInt(value) {}
    ~Probe() override { ++deaths; }
    static int deaths;
};
int Probe::deaths = 0;

CDataAssignment* Entry(uint32_t keyword, CDataNode* value) {
    return new CDataAssignment(keyword, value);
}

CDataBlock* Block(std::initializer_list<CDataNode*> children) {
    CDataBlock* block = new CDataBlock;
    for (CDataNode* child : children)
        block->AddChild(child);
    return block;
}

const char* TestTag(uint32_t number) {
    return number == 1 ? "ENG" : nullptr;
}

class DataTreeTest : public test::TextFormatTest {
protected:
    void SetUp() override {
        TextFormatTest::SetUp();
        Probe::deaths = 0;
    }
    void TearDown() override { SetCountryTagSource(nullptr); }

    // What the node prints at the depth (the node is held while it prints).
    std::string Print(CDataNode* node, int32_t indent = 0, int32_t* result = nullptr) {
        CNodeRef<CDataNode> held(node);
        CFieldReader out;
        out.Open("out.txt", "w");
        int32_t written = node->Write(out, indent);
        out.Close();
        if (result)
            *result = written;
        return dir.ReadFile("out.txt");
    }

    // Reads the tokens of the printed node back and checks that they give
    // the same tree.
    void ExpectReadsBack(CDataNode* expected) {
        switch (expected->GetNodeType()) {
        case NODE_INT:
            ASSERT_EQ(File().Next(), 1);
            EXPECT_EQ(File().Current().code, TOKEN_NUMBER);
            EXPECT_EQ(TokenToInt(File().Current().text), expected->GetInt());
            break;
        case NODE_FLOAT:
            ASSERT_EQ(File().Next(), 1);
            EXPECT_EQ(File().Current().code, TOKEN_NUMBER);
            EXPECT_EQ(TokenToFloat(File().Current().text), expected->GetFloat());
            break;
        case NODE_BOOL:
            ASSERT_EQ(File().Next(), 1);
            EXPECT_EQ(File().Current().code,
                      expected->GetBool() ? uint32_t(KW_YES) : uint32_t(KW_NO));
            break;
        case NODE_STRING:
            ASSERT_EQ(File().Next(), 1);
            EXPECT_EQ(File().Current().code, TOKEN_STRING);
            EXPECT_STREQ(File().Current().text, expected->GetString());
            break;
        case NODE_IDENTIFIER: {
            ASSERT_EQ(File().Next(), 1);
            auto* objectId = dynamic_cast<CDataObjectId*>(expected);
            if (objectId && objectId->GetObjectId().type != 3) {
                ASSERT_EQ(File().Current().code, TOKEN_OPEN_BRACE);
                ObjectId id;
                EXPECT_EQ(id.Read(reader), FIELD_BLOCK_END);
                EXPECT_EQ(id, objectId->GetObjectId());
            } else if (objectId) {
                EXPECT_EQ(File().Current().code, TOKEN_STRING);
                EXPECT_STREQ(File().Current().text, TestTag(objectId->GetObjectId().number));
            } else if (expected->GetKeywordId() != 0) {
                EXPECT_EQ(File().Current().code, expected->GetKeywordId());
            } else {
                EXPECT_EQ(File().Current().code, TOKEN_STRING);
                EXPECT_STREQ(File().Current().text, expected->GetName());
            }
            break;
        }
        case NODE_ASSIGNMENT:
        case NODE_KEYED_ASSIGNMENT:
            ExpectReadsBack(expected->GetIdentifier());
            ASSERT_EQ(File().Next(), 1);
            EXPECT_EQ(File().Current().code, TOKEN_EQUALS);
            ExpectReadsBack(expected->GetValue());
            break;
        case NODE_BLOCK: {
            ASSERT_EQ(File().Next(), 1);
            EXPECT_EQ(File().Current().code, TOKEN_OPEN_BRACE);
            CDataBlock* block = expected->AsBlock();
            for (uint32_t i = 0; i < block->GetChildCount(); ++i)
                ExpectReadsBack(block->GetChild(i));
            ASSERT_EQ(File().Next(), 1);
            EXPECT_EQ(File().Current().code, TOKEN_CLOSE_BRACE);
            break;
        }
        default:
            FAIL() << "unexpected node type " << expected->GetNodeType();
        }
    }
};

TEST_F(DataTreeTest, PrintLayouts) {
    struct Case {
        const char* name;
        std::function<CDataNode*()> make;
        int32_t indent;
        std::string expected;
    };
    SetCountryTagSource(TestTag);
    const std::vector<Case> cases = {
        {"integer", [] { return new CDataInt(12); }, 0, "12 "},
        {"negative integer", [] { return new CDataInt(-7); }, 0, "-7 "},
        {"float", [] { return new CFloatNode(0.5f); }, 0, "0.500000 "},
        {"yes", [] { return new CDataBool(true); }, 0, "yes "},
        {"no", [] { return new CDataBool(false); }, 0, "no "},
        {"string", [] { return new CDataString("Paris"); }, 0, "\"Paris\" "},
        {"string with a quote", [] { return new CDataString("a \"b\""); }, 0, "\"a 'b'\" "},
        {"keyword identifier", [] { return new CDataIdentifier(uint32_t(KW_COUNTRY)); }, 0,
         "country "},
        {"free identifier", [] { return new CDataIdentifier("Ile-de-France"); }, 0,
         "Ile-de-France "},
        {"object id",
         [] {
             return ObjectId{4, 17}.MakeNode();
         },
         0, "{ type = 4 id = 17 } "},
        {"country id",
         [] {
             return ObjectId{3, 1}.MakeNode();
         },
         0, "ENG "},
        {"country id without tag",
         [] {
             return ObjectId{3, 2}.MakeNode();
         },
         0, "{ type = 3 id = 2 } "},
        {"assignment", [] { return Entry(KW_YEAR, new CDataInt(1492)); }, 0, "year = 1492 "},
        {"keyed assignment",
         [] { return new CDataAssignment(new CDataIdentifier("ENG"), new CDataBool(true)); }, 0,
         "ENG = yes "},
        {"empty block", [] { return new CDataBlock; }, 0, "{ } "},
        {"point",
         [] {
             return cpoint::MakeNode({10, 20});
         },
         0, "{ x = 10 y = 20 } "},
        {"three entries",
         [] {
             return Block({Entry(KW_YEAR, new CDataInt(1)), Entry(KW_MONTH, new CDataInt(2)),
                           Entry(KW_DAY, new CDataInt(3))});
         },
         0, "{ year = 1 month = 2 day = 3 } "},
        {"four entries",
         [] {
             return Block({Entry(KW_YEAR, new CDataInt(1)), Entry(KW_MONTH, new CDataInt(2)),
                           Entry(KW_DAY, new CDataInt(3)), Entry(KW_NAME, new CDataString("x"))});
         },
         0, "{ \n    year = 1 \n    month = 2 \n    day = 3 \n    name = \"x\" \n    } "},
        {"four entries at depth 3",
         [] {
             return Block({Entry(KW_YEAR, new CDataInt(1)), Entry(KW_MONTH, new CDataInt(2)),
                           Entry(KW_DAY, new CDataInt(3)), Entry(KW_NAME, new CDataString("x"))});
         },
         3, "{ year = 1 month = 2 day = 3 name = \"x\" } "},
        {"list of numbers",
         [] {
             return Block({new CDataInt(1), new CDataInt(2), new CDataInt(3), new CDataInt(4),
                           new CDataInt(5)});
         },
         0, "{ 1 2 3 4 5 } "},
        {"nested long blocks",
         [] {
             return Block(
                 {Entry(KW_X, new CDataInt(1)), Entry(KW_Y, new CDataInt(2)),
                  Entry(KW_ID, new CDataInt(3)),
                  Entry(KW_DATE,
                        Block({Entry(KW_YEAR, new CDataInt(1)), Entry(KW_MONTH, new CDataInt(2)),
                               Entry(KW_DAY, new CDataInt(3)), Entry(KW_TAG, new CDataInt(4))}))});
         },
         0,
         "{ \n    x = 1 \n    y = 2 \n    id = 3 \n    date = { \n        year = 1 \n        month "
         "= 2 \n"
         "        day = 3 \n        tag = 4 \n        } \n    } "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Print(c.make(), c.indent), c.expected) << c.name;
}

TEST_F(DataTreeTest, WhatIsPrintedReadsBackAsTheSameTree) {
    SetCountryTagSource(TestTag);
    CNodeRef<CDataBlock> tree(Block({
        Entry(KW_NAME, new CDataString("Burgundy # not a comment")),
        Entry(KW_YEAR, new CDataInt(-1444)),
        Entry(KW_INFLATION, new CFloatNode(0.25f)),
        Entry(KW_CAPITAL, new CDataBool(true)),
        Entry(KW_MAJOR, new CDataBool(false)),
        Entry(KW_ID, ObjectId{4712, 4294967295u}.MakeNode()),
        Entry(KW_COUNTRY, ObjectId{3, 1}.MakeNode()),
        Entry(KW_RELIGION, new CDataIdentifier(uint32_t(KW_CATHOLIC))),
        new CDataAssignment(new CDataIdentifier("BUR"), new CDataIdentifier("freeword")),
        Entry(KW_LIST, Block({new CDataInt(1), new CDataInt(2), new CDataInt(3), new CDataInt(4)})),
        Entry(KW_LOCATION, cpoint::MakeNode({-3, 40})),
        Entry(KW_DATE, Block({Entry(KW_YEAR, new CDataInt(1492)),
                              Entry(KW_MONTH, new CDataIdentifier(uint32_t(KW_OCTOBER))),
                              Entry(KW_DAY, new CDataInt(11)), Entry(KW_X, Block({}))})),
    }));
    std::string printed = Print(tree.Get());
    ASSERT_FALSE(printed.empty());
    OpenText("header = " + printed);
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    ASSERT_EQ(reader.value.code, TOKEN_OPEN_BRACE);
    for (uint32_t i = 0; i < tree->GetChildCount(); ++i)
        ExpectReadsBack(tree->GetChild(i));
    ASSERT_EQ(File().Next(), 1);
    EXPECT_EQ(File().Current().code, TOKEN_CLOSE_BRACE);
    EXPECT_EQ(File().Next(), 0);
}

TEST_F(DataTreeTest, ObjectIdBlockReading) {
    struct Case {
        const char* text;
        int32_t result;
        ObjectId id;
    };
    const std::vector<Case> cases = {
        {"type = 4712 id = 17 } rest", 0, {4712, 17}},
        {"id = 9 type = 4 }", 0, {4, 9}},
        {"}", 0, {0, 0}},
        {"type = 4 name = 5 }", -2, {4, 0}},
        {"type = 4 ", -1, {4, 0}},
    };
    for (const Case& c : cases) {
        OpenText(c.text);
        ObjectId id;
        EXPECT_EQ(id.Read(reader), c.result) << c.text;
        EXPECT_EQ(id, c.id) << c.text;
        if (c.result == 0) {
            const Token* next = File().Peek();
            EXPECT_NE(next->code, TOKEN_CLOSE_BRACE) << "the closing brace is taken: " << c.text;
        }
    }
}

TEST_F(DataTreeTest, WritingWithoutAnOpenFileFails) {
    CFieldReader closed;
    CNodeRef<CDataBlock> tree(Block({Entry(KW_YEAR, new CDataInt(1))}));
    EXPECT_EQ(tree->Write(closed, 0), FIELD_ERROR);
    CNodeRef<CDataNode> id(ObjectId{4, 1}.MakeNode());
    EXPECT_EQ(id->Write(closed, 0), FIELD_ERROR);
}

TEST_F(DataTreeTest, HoldersKeepNodesAliveAndTheLastReleaseDeletes) {
    CDataNode* shared = new Probe(1);
    EXPECT_EQ(shared->GetRefCount(), 0);
    CNodeRef<CDataBlock> first(Block({shared, Entry(KW_YEAR, new Probe(2))}));
    CNodeRef<CDataBlock> second(Block({shared}));
    EXPECT_EQ(shared->GetRefCount(), 2);

    first.Reset();
    EXPECT_EQ(Probe::deaths, 1) << "the assignment's value goes with its block";
    EXPECT_EQ(shared->GetRefCount(), 1) << "a child shared by two blocks survives the first";
    second.Reset();
    EXPECT_EQ(Probe::deaths, 2);

    // A node held elsewhere is not deleted by its maker's clean-up.
    CNodeRef<CDataNode> held(new Probe(3));
    CDataNode::DeleteIfUnheld(held.Get());
    EXPECT_EQ(Probe::deaths, 2);
    CDataNode::DeleteIfUnheld(new Probe(4));
    EXPECT_EQ(Probe::deaths, 3);

    // Detach hands the node on without deleting it.
    CNodeRef<CDataNode> handed(new Probe(5));
    CDataNode* taken = handed.Detach();
    EXPECT_EQ(taken->GetRefCount(), 0);
    EXPECT_EQ(Probe::deaths, 3);
    CDataNode::DeleteIfUnheld(taken);
    EXPECT_EQ(Probe::deaths, 4);
}

TEST_F(DataTreeTest, BlockOperations) {
    CDataNode* a = new Probe(1);
    CDataNode* b = new Probe(2);
    CNodeRef<CDataBlock> block(Block({a, b}));

    // A copy holds the same children once more.
    CNodeRef<CDataBlock> copy(new CDataBlock(*block));
    EXPECT_EQ(a->GetRefCount(), 2);
    EXPECT_TRUE(copy->HasChild(b));

    // RemoveChild releases; the copy still holds the node.
    EXPECT_TRUE(block->RemoveChild(a));
    EXPECT_FALSE(block->HasChild(a));
    EXPECT_FALSE(block->RemoveChild(a));
    EXPECT_EQ(Probe::deaths, 0);
    EXPECT_EQ(a->GetRefCount(), 1);

    // AddContents moves the children: counts unchanged, the source emptied
    // and, when nobody else holds it, deleted.
    CNodeRef<CDataBlock> target(new CDataBlock);
    target->AddContents(copy.Get());
    EXPECT_EQ(copy->GetChildCount(), 0u);
    EXPECT_EQ(target->GetChildCount(), 2u);
    EXPECT_EQ(a->GetRefCount(), 1);
    EXPECT_EQ(b->GetRefCount(), 2);
    target->AddContents(Block({new Probe(3)}));
    EXPECT_EQ(target->GetChildCount(), 3u);
    target->AddContents(new Probe(4)); // not a block: added as a child
    target->AddContents(target.Get()); // itself: nothing
    target->AddContents(nullptr);
    EXPECT_EQ(target->GetChildCount(), 4u);

    target->ReleaseChildren();
    EXPECT_EQ(target->GetChildCount(), 0u);
    EXPECT_EQ(Probe::deaths, 3) << "the probes 1, 3 and 4 were held only by the target";
    EXPECT_EQ(b->GetRefCount(), 1);

    // A null child is kept as an entry and prints nothing.
    CNodeRef<CDataBlock> withNull(Block({nullptr, new CDataInt(1)}));
    EXPECT_EQ(withNull->GetChildCount(), 2u);
    EXPECT_EQ(Print(withNull.Get()), "{ 1 } ");
}

TEST_F(DataTreeTest, SetValueKeepsTheValueNodeWhenItTakesTheContents) {
    CNodeRef<CDataAssignment> entry(Entry(KW_YEAR, new CDataInt(5)));
    CDataNode* original = entry->GetValue();
    EXPECT_EQ(entry->SetValue(new Probe(7)), original);
    EXPECT_EQ(original->GetInt(), 7);
    EXPECT_EQ(Probe::deaths, 1) << "the unused new node is deleted";

    // Values copy through the getter of whatever class the source has.
    CNodeRef<CDataAssignment> text(Entry(KW_NAME, new CDataString("a")));
    text->SetValue(new CDataInt(3));
    EXPECT_STREQ(text->GetValue()->GetString(), "");
    CNodeRef<CDataNode> id(ObjectId{4, 1}.MakeNode());
    CNodeRef<CDataNode> other(ObjectId{5, 6}.MakeNode());
    EXPECT_TRUE(id->AssignFrom(other.Get()));
    EXPECT_EQ(id->GetObjectId(), ObjectId(5, 6));

    // A value that cannot take contents (a block) is replaced.
    CNodeRef<CDataAssignment> list(Entry(KW_LIST, Block({new Probe(1)})));
    CDataNode* replacement = new CDataInt(9);
    EXPECT_EQ(list->SetValue(replacement), replacement);
    EXPECT_EQ(Probe::deaths, 2) << "the old block and its child are released";
    EXPECT_EQ(list->SetValue(nullptr), nullptr);
    EXPECT_EQ(list->GetValue(), nullptr);
    EXPECT_EQ(Print(list.Get()), "list = ");
}

TEST_F(DataTreeTest, CloneAndEvaluate) {
    CNodeRef<CDataAssignment> entry(Entry(KW_COUNTRY, new CDataString("x")));
    CNodeRef<CDataNode> clone(entry->Clone());
    EXPECT_EQ(clone->GetNodeType(), NODE_KEYED_ASSIGNMENT);
    EXPECT_EQ(clone->GetKeywordId(), uint32_t(KW_COUNTRY));
    EXPECT_NE(clone->GetValue(), entry->GetValue());
    EXPECT_STREQ(clone->GetValue()->GetString(), "x");
    EXPECT_EQ(Print(clone.Get()), "country = \"x\" ");

    CNodeRef<CDataNode> name(CNodeRef<CDataNode>(new CDataIdentifier("abc"))->Clone());
    EXPECT_STREQ(name->GetName(), "abc");
    EXPECT_EQ(name->GetKeywordId(), 0u);

    CDataNode* child = new CDataInt(1);
    CNodeRef<CDataBlock> block(Block({child, Entry(KW_YEAR, new CDataInt(2))}));
    CNodeRef<CDataNode> blockClone(block->Clone());
    EXPECT_TRUE(blockClone->HasChild(child)) << "a block's clone holds the same children";

    // Evaluating a block gives a new block of the results: values are their
    // own results, assignments answer themselves.
    CNodeRef<CDataNode> result(block->Evaluate(nullptr));
    ASSERT_NE(result.Get(), block.Get());
    EXPECT_EQ(result->AsBlock()->GetChild(0), child);
    EXPECT_EQ(result->AsBlock()->GetChild(1), block->GetChild(1));
    CNodeRef<CDataBlock> empty(new CDataBlock);
    EXPECT_EQ(empty->Evaluate(nullptr), empty.Get());
    EXPECT_EQ(empty->Execute(nullptr), empty.Get());

    EXPECT_EQ(child->GetTypeTag(), TypeTag(ETypeTag::Int));
    EXPECT_EQ(block->GetTypeTag(), TypeTag(ETypeTag::Block));
    EXPECT_STREQ(block->GetChild(1)->GetName(), "identifier");
}

TEST_F(DataTreeTest, DeepTreesAreRefusedWhenPrintedAndFreedWithoutRecursion) {
    // Within the limit: printed in full, on one line below depth 3.
    CNodeRef<CDataBlock> modest(new CDataBlock);
    for (int i = 0; i < kMaxWriteDepth - 2; ++i)
        modest.Reset(Block({modest.Get()}));
    int32_t result = 1;
    std::string printed = Print(modest.Get(), 0, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(printed.size(), size_t(kMaxWriteDepth - 1) * 4);
    EXPECT_TRUE(boxes.texts.empty());

    // Far beyond it: one clear error, -2, and the stack survives.
    CNodeRef<CDataBlock> deep(new CDataBlock);
    for (int i = 0; i < 100000; ++i) {
        CDataBlock* outer = new CDataBlock;
        outer->AddChild(i % 2 ? static_cast<CDataNode*>(deep.Get()) : Entry(KW_LIST, deep.Get()));
        deep.Reset(outer);
    }
    Print(deep.Get(), 0, &result);
    EXPECT_EQ(result, FIELD_ERROR);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(BoxShown("nested deeper than")) << boxes.texts[0];

    // Freeing it does not recurse.
    CDataNode* bottom = new Probe(1);
    CNodeRef<CDataNode> chain(bottom);
    for (int i = 0; i < 100000; ++i)
        chain.Reset(Entry(KW_X, chain.Get()));
    deep.Reset();
    chain.Reset();
    EXPECT_EQ(Probe::deaths, 1);
}

} // namespace
