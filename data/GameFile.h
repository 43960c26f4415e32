#pragma once
// Scenario and saved-game files (".ovg"): a sequence of top-level objects,
// each a keyword, "=" and (almost always) a block. The reader hands each
// block to the reader registered under its keyword; the writer asks the
// registered writers for their data trees and prints the trees in a fixed
// order: "header", "globaldata", the provinces with state to save, the
// centres of trade ("cot"), the countries 0 to 98, the peace offers
// standing ("peace"), "eyr", then, outside
// multiplayer games only, "interface" and the travellers ("mecenat"), and
// last the combats. "mission" and "include" occur in hand-made scenarios
// only.
//
// "header" (data/ScenarioHeader.h) and "include" are the file's own; every
// other object belongs to a folder above and is registered by its owner
// (RegisterGameFileObject), from a static initialiser in the file that
// defines the object's state.
#include <cstdint>
#include <string>

#include "data/TokenFile.h"

class CDataNode;

// "include" nests at most this many files deep.
constexpr int32_t kMaxIncludeDepth = 16;

// The readers answer the field codes (data/TokenFile.h), FIELD_BLOCK_END
// meaning that the object, or the file, was read: go on.
//
// Reads top-level objects until the end of the file: FIELD_BLOCK_END when the
// file was read to its end, FIELD_ERROR when a structural error stopped it
// (the world is then half read and must not be started).
int32_t ReadGameFile(CFieldReader& in);

// Reads and dispatches one top-level object: FIELD_BLOCK_END go on;
// FIELD_END_OF_FILE; FIELD_ERROR a structural error. The front end reads just
// a file's first object, its header, through it.
int32_t ReadTopLevelObject(CFieldReader& in);

// Writes the whole game through a reader opened with mode "w": FIELD_WRITTEN,
// or FIELD_ERROR at the first failed write (the file is then incomplete).
int32_t WriteGameFile(CFieldReader& out);

// Saves the game to the game path: the file is written beside the target
// under a temporary name and put in the target's place only when every byte
// was written, so that a failed save keeps the previous file. FIELD_WRITTEN,
// or FIELD_ERROR after a failure (reported).
int32_t SaveGameFile(const std::string& path);

// ---------------------------------------------------------------------------
// The registered objects

// What the value after "keyword =" must be before the object's reader runs.
enum class GameFileValue : uint8_t {
    Block,      // "{"; anything else is reported ("No left curly") and passed over
    QuietBlock, // "{"; anything else is passed over without a report
    AnyValue,   // the reader takes whatever came
};

// Hands an owner's objects to the file writer, each under the keyword the
// writer was registered with.
class CGameFileOutput {
public:
    explicit CGameFileOutput(CFieldReader& out) : m_out(out) {}
    CGameFileOutput(const CGameFileOutput&) = delete;
    CGameFileOutput& operator=(const CGameFileOutput&) = delete;

    // Writes one object (the tree is released afterwards), a blank line
    // before every object but the file's first. True while every write so
    // far succeeded; after a failed write nothing more is written (the tree
    // is deleted unused) and the owner stops.
    bool Write(CDataNode* tree);

    // FIELD_WRITTEN, or FIELD_ERROR once a write has failed.
    int32_t Result() const { return m_result; }

private:
    friend int32_t WriteGameFile(CFieldReader& out);

    bool Write(uint32_t keyword, CDataNode* tree);
    // Runs the writer registered under the keyword (nothing when there is
    // none).
    void WriteRegistered(uint32_t keyword);

    CFieldReader& m_out;
    uint32_t m_keyword = 0;
    bool m_first = true;
    int32_t m_result = FIELD_WRITTEN;
};

struct GameFileObject {
    // Reads the object after its "=" (a block's "{" taken with the value):
    // FIELD_BLOCK_END go on; FIELD_END_OF_FILE; FIELD_ERROR a structural
    // error, which stops the file.
    int32_t (*read)(CFieldReader& in) = nullptr;
    // Writes every object of the owner, in the owner's order; null for
    // objects that only hand-made scenarios hold.
    void (*write)(CGameFileOutput& out) = nullptr;
    GameFileValue value = GameFileValue::Block;
};

// Registers the object of a keyword (a keyword id), replacing what was
// registered before; an object without a reader unregisters the keyword.
// Codes that are no keyword ids are passed over.
void RegisterGameFileObject(uint32_t keyword, const GameFileObject& object);

// The object registered under the code; null when nobody registered it (no
// owner linked, or no keyword): the reader then reports "Illegal top level
// object" and stops, and the writer writes nothing under it.
const GameFileObject* FindGameFileObject(uint32_t code);

// For the registered readers of objects that name themselves by their first
// field ("tag", "id"); the "{" has been taken.
//
// Reads that field. True when it is there with the key; otherwise false with
// `answer` set to what the object reader answers: the reader's end of file
// or error as they came, FIELD_BLOCK_END for an empty block (its "}" taken), or
// `wrongKeyAnswer` after reporting `message` and passing over the rest of
// the block.
bool ReadOpeningField(CFieldReader& in, uint32_t key, const char* message, int32_t wrongKeyAnswer,
                      int32_t& answer);
// Takes tokens up to and including the "}" that closes the block whose "{"
// has been taken (or to the end of the file): the rest of a block whose
// first field was wrong is passed over instead of being read as top-level
// objects.
void SkipRestOfBlock(CFieldReader& in);
