// A traveller read from a saved game goes to whoever files travellers (the
// main game screen, above the world); one that is refused, that nobody
// files, or that did not read whole is deleted.
#include "world/Mecenat.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/DataTree.h"
#include "tests/data/TextFormatFixture.h"

namespace {

bool g_accept = false;
std::vector<std::unique_ptr<CMecenat>> g_filed;

class MecenatTest : public test::TextFormatTest {
protected:
    void SetUp() override {
        TextFormatTest::SetUp();
        m_registered = g_fileTraveller;
    }
    void TearDown() override {
        reader.Close();
        g_fileTraveller = m_registered;
        g_filed.clear();
    }

private:
    bool (*m_registered)(CMecenat*) = nullptr;
};

TEST_F(MecenatTest, ATravellerReadWholeIsFiledOrDeleted) {
    struct Case {
        const char* text;
        bool filer;  // a filer is registered
        bool accept; // it takes the traveller
        int32_t result;
        bool filed;
    };
    const Case cases[] = {
        {"mecenat = { source = 12 destination = 14 }", true, true, 0, true},
        {"mecenat = { source = 12 destination = 14 }", true, false, 0, false},
        {"mecenat = { source = 12 destination = 14 }", false, false, 0, false},
        {"mecenat = { source = 12 destination = ", true, true, FIELD_END_OF_FILE, false},
    };
    for (const Case& c : cases) {
        g_filed.clear();
        g_accept = c.accept;
        g_fileTraveller = nullptr;
        if (c.filer)
            g_fileTraveller = [](CMecenat* traveller) {
                if (g_accept)
                    g_filed.emplace_back(traveller);
                return g_accept;
            };
        reader.Close();
        OpenText(c.text);
        ASSERT_EQ(reader.ReadField(), FIELD_READ) << c.text;
        EXPECT_EQ(CMecenat::ReadAndFile(reader), c.result) << c.text;
        ASSERT_EQ(g_filed.size(), c.filed ? 1u : 0u) << c.text;
        if (c.filed) {
            CNodeRef<CDataBlock> written(g_filed.front()->Write());
            EXPECT_EQ(written->GetChildCount(), 2u) << c.text;
        }
    }
}

} // namespace
