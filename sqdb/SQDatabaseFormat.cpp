// Turning a printf-style format with its arguments into SQL with "?" parameters.
#include <sqlite3.h>

#include <type_traits>

#include "sqdb/SQDatabase.h"

using platform::Value;

namespace {

// What one character of the format turned into.
struct Conversion {
    bool readsArgument = false;   // a conversion that takes an argument from the list
    std::optional<Value> object;  // the argument it made; none when the list had run out
};

// A number of the conversion's size, signed or unsigned as its letter says.
template <typename Signed>
Value integerOfSize(const Value& v, bool isUnsigned) {
    using Unsigned = std::make_unsigned_t<Signed>;
    if (isUnsigned) return Value(static_cast<Unsigned>(v.unsignedLongLongValue()));
    return Value(static_cast<Signed>(v.longLongValue()));
}

}  // namespace

void SQDatabase::extractSQL(std::string_view format, std::span<const Value> arguments,
                            std::string& sql, Arguments& boundArguments) {
    size_t nextArgument = 0;
    char last = '\0';
    for (size_t i = 0; i < format.size(); ++i) {
        const char current = format[i];
        char copied = current;
        Conversion conversion;
        auto convert = [&](auto make) {
            conversion.readsArgument = true;
            if (nextArgument < arguments.size())
                conversion.object = make(arguments[nextArgument++]);
        };
        // The letter after i, consumed when it is one of the two wanted.
        auto follows = [&](char a, char b) -> char {
            if (i + 1 < format.size() && (format[i + 1] == a || format[i + 1] == b)) {
                return format[++i];
            }
            return 0;
        };
        bool literalPercent = false;

        if (last == '%') {
            switch (current) {
                case '@':
                    convert([](const Value& v) { return v; });
                    break;
                case 'c':
                    convert([](const Value& v) {
                        return Value(std::string(1, static_cast<char>(v.longLongValue())));
                    });
                    break;
                case 's':
                    convert([](const Value& v) {
                        if (v.text() || v.isNull()) return v;
                        return Value(v.description());
                    });
                    break;
                case 'd':
                case 'D':
                case 'i':
                case 'u':
                case 'U': {
                    bool isUnsigned = current == 'u' || current == 'U';
                    convert([=](const Value& v) { return integerOfSize<int>(v, isUnsigned); });
                    break;
                }
                case 'f':
                case 'g':
                    // Both take a double: narrowing %g to float would lose digits.
                    convert([](const Value& v) { return Value(v.doubleValue()); });
                    break;
                case 'h':
                case 'q':
                    if (char next = follows('i', 'u')) {
                        bool isUnsigned = next == 'u';
                        if (current == 'h') {
                            convert([=](const Value& v) {
                                return integerOfSize<short>(v, isUnsigned);
                            });
                        } else {
                            convert([=](const Value& v) {
                                return integerOfSize<long long>(v, isUnsigned);
                            });
                        }
                    }
                    break;
                case 'l':
                    if (char next = follows('d', 'u')) {
                        bool isUnsigned = next == 'u';
                        convert([=](const Value& v) { return integerOfSize<long>(v, isUnsigned); });
                    } else if (i + 2 < format.size() && format[i + 1] == 'l' &&
                               (format[i + 2] == 'd' || format[i + 2] == 'u')) {
                        i += 2;
                        bool isUnsigned = format[i] == 'u';
                        convert([=](const Value& v) {
                            return integerOfSize<long long>(v, isUnsigned);
                        });
                    }
                    break;
                case '%':
                    // "%%" is one percent sign; the character after it is plain text again.
                    literalPercent = true;
                    break;
                default:
                    break;
            }
        } else if (current == '%') {
            copied = '\0';
        }

        if (conversion.readsArgument) {
            if (current == '@' && conversion.object && conversion.object->isNull()) {
                sql += "NULL";
            } else {
                sql += '?';
                if (conversion.object) boundArguments.push_back(std::move(*conversion.object));
            }
        } else if (copied != '\0') {
            sql += copied;
        }
        last = literalPercent ? '\0' : current;
    }
}
