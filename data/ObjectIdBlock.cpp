#include "engine/ObjectId.h"

#include "data/DataTree.h"
#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "engine/CriticalError.h"

int32_t ObjectId::Read(CFieldReader& in) {
    for (;;) {
        int32_t result = in.ReadField();
        if (result == FIELD_BLOCK_END) {
            in.GetTokenFile()->Next(); // the "}"
            return FIELD_BLOCK_END;
        }
        if (result != FIELD_READ)
            return result;
        switch (in.key.code) {
        case KW_TYPE:
            type = static_cast<uint16_t>(TokenToInt(in.value.text));
            break;
        case KW_ID:
            number = static_cast<uint32_t>(TokenToInt(in.value.text));
            break;
        default:
            DebugPrint("ObjectId : unexpected field %s\n", in.key.text);
            return FIELD_ERROR;
        }
    }
}

CDataObjectId* ObjectId::MakeNode() const {
    return new CDataObjectId(*this);
}
