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
// Yen figures are balls times the rate: a rate far beyond any money keeps
// every one of them finite.
inline constexpr const char* RateMaxRefusal = "交換レートは、1E100以下にしてください。";
inline constexpr double RateLimit = 1e100;

// A run that still reached the balance guard stops there, its plays so far kept.
inline constexpr const char* BalanceLimitStopText =
    "出玉数が記録できる範囲(±2147483647玉)"
    "の限界に近づいたため、シミュレーションを途中で止めました。";

struct StartInputs {
    int PlayCount = 0;
    int Runs = 0;
    double Rate = 0.0;
    double Border = 0.0;
};

// Reads and checks plays, runs, rate and border in this order, storing each
// value in `out` as soon as it is read (so what came before a refusal is kept);
// the border is stored as read.
// Returns the refusal text of the first failing check, or "" when all pass.
// Throws EConvertError for a text that is not a number.
// A border as the program reads and shows it: rounded to 15 significant
// digits, so the limits apply to the number the user sees.
double BorderAsRead(double border);
// "" for a border of 1 up to below 250 (as read); else the refusal.
std::string CheckBorder(double border);

// "" when `plays` plays at `border` keep the ball balance within 32 bits
// (see stats/BalanceLimit); else the refusal naming the largest play count.
std::string CheckBalanceRange(int plays, double border);

std::string CheckStartInputs(const std::string& plays, const std::string& runs,
                             const std::string& rate, const std::string& border, StartInputs& out);
