#pragma once
// The Start command's input checks, shared by the window and the companion.

#include <string>

inline constexpr const char* PlayCountRefusal = "Play数は、1以上にしてください。";
inline constexpr const char* RunCountRefusal = "Sim回数は、1以上にしてください。";
inline constexpr const char* RateRefusal = "交換レートは、0以上にしてください。";
inline constexpr const char* BorderMinRefusal = "ボーダーは、1以上にしてください。";
// Borders from 250 up would open the start pocket on every ball and the
// attacker never, so they are refused like the others.
inline constexpr const char* BorderMaxRefusal = "ボーダーは、250未満にしてください。";
inline constexpr double BorderLimit = 250.0;

struct StartInputs {
    int PlayCount = 0;
    int Runs = 0;
    double Rate = 0.0;
    double Border = 0.0;
};

// Reads and checks plays, runs, rate and border in this order, storing each
// value in `out` as soon as it is read (so what came before a refusal is kept).
// Returns the refusal text of the first failing check, or "" when all pass.
// Throws EConvertError for a text that is not a number.
std::string CheckStartInputs(const std::string& plays, const std::string& runs,
                             const std::string& rate, const std::string& border, StartInputs& out);
