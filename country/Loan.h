#pragma once
// A loan of a country from the bank or from another country: it charges its
// interest every month, reminds its borrower once when it falls due, and is
// read from and written to the "loan" block of the borrower.
#include <cstdint>

#include "data/TokenFile.h"
#include "engine/Date.h"
#include "engine/ObjectId.h"
#include "net/Event.h"

class CDataBlock;

// The lender of every bank loan.
inline constexpr ObjectId g_bankId{3, 12};
// A new loan's lender until one is given: no country.
inline constexpr ObjectId kNoLender{3, 0};

class CLoan : public CIdObject, public CMessageReceiver {
public:
    // An empty loan of the borrower (a country's id) from no lender.
    explicit CLoan(const ObjectId& borrower);

    // The month message charges the interest: amount x interest / 1200 is
    // the borrower's interest expense and, when a country lent it, that
    // country's loan income. Every message, the first on or after the expiry
    // date, sends the borrower the reminder "_COVEVT_ASKEXTENDLOAN_" once.
    // Answers EVENT_NOT_HANDLED.
    int HandleMessage(COVEvent& event) override;

    // The block after its "{" up to and including its "}". A field that
    // breaks the loan's rules (an amount below 1, an interest outside
    // 1..1000, no lender at the end) is reported and reading goes on.
    // FIELD_BLOCK_END; FIELD_END_OF_FILE when the file ends in the block.
    int32_t Read(CFieldReader& in);
    // "id", "tag" ("bank" or the lender's tag), "interest", "amount",
    // "expirydate".
    CDataBlock* Write() const;

    // An amount of at least 1, an interest of 1..1000 and a lender that is
    // the bank or a country (not number 0).
    bool IsValid() const;
    bool IsBankLoan() const { return lender == g_bankId; }

    int32_t interest = 0; // percent a year
    int32_t amount = 0;
    CDate expiryDate;
    ObjectId lender = kNoLender;
    ObjectId borrower;
    bool reminderSent = false;
};
