#include "ui/web/fetch_failure.h"

#include "inet/engine_errors.h"
#include "inet/http_errors.h"

#include <algorithm>

namespace ui {
namespace {

struct Reason {
    int first;
    int last;
    const char* text;
};

constexpr Reason kReasons[] = {
    {inet::kErrAddressInvalid, inet::kErrAddressInvalid, "L'adresse du serveur n'est pas valable"},
    {inet::kErrNoServer, inet::kErrBadScheme, "L'adresse n'est pas valable (elle doit commencer par http://)"},
    {10050, 10051, "Le réseau n'est pas accessible"},
    {10052, 10054, "Le serveur a coupé la connexion"},
    {10060, 10060, "Le serveur ne répond pas"},
    {10061, 10061, "Le serveur refuse la connexion"},
    {10064, 10065, "Le serveur n'est pas accessible"},
    {11001, 11004, "Le serveur est introuvable (vérifiez son nom)"},
};

// The text after "code: ".
std::string TextOf(const std::string& message) {
    const std::size_t colon = message.find(": ");
    return colon == std::string::npos ? message : message.substr(colon + 2);
}

}  // namespace

std::string FetchFailureText(int code, const std::string& message) {
    if (code == inet::kErrHttpStatus) return "Le serveur a refusé la demande (" + TextOf(message) + ")";
    for (const Reason& reason : kReasons)
        if (code >= reason.first && code <= reason.last) return reason.text;
    return "La connexion au serveur a échoué";
}

std::string CancelledFetchText() { return "La demande a été annulée"; }

std::string QuietServerText(std::chrono::milliseconds quiet) {
    return "Le serveur n'a rien envoyé pendant " + std::to_string(std::max<long long>(1, quiet.count() / 1000)) +
           " s";
}

std::string ReplyTooLargeText(std::size_t maxBytes) {
    return "La réponse du serveur dépasse " + std::to_string(maxBytes) + " octets";
}

}  // namespace ui
