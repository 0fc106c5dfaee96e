#include "ui/editors/country_list.h"

namespace ui {

const QStringList& CountryList() {
    static const QStringList countries = {
        "USA", "Albanie", "Algerie", "USA", "Andore", "Angola", "Anguilla", "Antartique", "Antigua and Barbuda",
        "Argentine", "Armenie", "Aruba", "Ascension", "Australie", "Autriche", "Azerbaidjan", "Bahamas",
        "Bahrain", "Bangladesh", "Barbados", "Belarus", "Belgique", "Belize", "Benin", "Bermudes", "Bhutan",
        "Bolivie", "Bosnia and Herzegovina", "Botswana", "Brezil", "British Virgin Islands", "Brunei", "Bulgarie",
        "Burkina Faso", "Burundi", "Cambodia", "Cameroon", "Canada", "Cape Verde Islands", "Cape Verde Islands",
        "Central African Republic", "Chad", "Chatham Island (New Zealand)", "Chilie", "Chine", "Christmas Island",
        "Cocos Islands", "Colombie", "Comoros", "Congo", "Cook Islands", "Costa Rica", "Croatie", "Cuba",
        "Cyprus", "Czech Republic", "Danemark", "Diego Garcia", "Djibouti", "Dominica", "Dominican Republic",
        "Easter Island", "Ecuador", "Egypte", "El Salvadore", "Equatorial Guinea", "Eritrea", "Estonie",
        "Ethiopia", "Faeroe Islands", "Falkland Islands", "Fiji", "Finland", "France", "Antilles (France)",
        "Guyane francaise", "Polynesie francaise", "Fyrom (Macedonia)", "Gabon", "Gambia", "Georgie", "Allemagne",
        "Ghana", "Gibraltar", "Grece", "Groenland", "Le Grenada", "Iles De Grenadin", "Guadeloupe",
        "Guantanamo Bay", "Guatemala", "Guinee", "Ginea-Bissau", "Guyane", "Haiti", "Honduras", "Hong Kong",
        "Hongrie", "Islande", "Inde", "Indonesie", "Iran", "Iraq", "Irland", "Israel", "Italie", "Cote d'Ivoire",
        "Jamaique", "Japon", "Jordanie", "Kazakhstan", "Kenya", "Kiribati", "Coree, Du sud", "Koweit",
        "Kyrgystan", "Laos", "Latvia", "Liban", "Lesotho", "Liberia", "Libye", "Liechtenstein", "Lithuanie",
        "Luxembourg", "Macao", "Macedonie", "Madagascar", "Malawi", "Malaysie", "Maldives", "Mali", "Malta",
        "Marshall Islands", "Martinique", "Mauritanie", "Mauritius", "Mayotte", "Mexique", "Micronesie",
        "Midway Islands", "Midway Islands", "Moldova", "Monaco", "Mongolie", "Montserrat", "Morocco",
        "Mozambique", "Myanmar", "Namibia", "Namibia", "Nepal", "Netherlands", "Netherlands", "Nevis",
        "Nouvelle Caledonie", "Nouvelle Zealand", "Nicaragua", "Niger", "Nigeria", "Niue", "Norfolk Island",
        "Kore du nord", "Norvege", "Oman", "Pakistan", "Palau", "Panama", "Papouasie Nouvelle-Guinee", "Paraguay",
        "Perou", "Philippines", "Pologne", "Portugal", "Qatar", "Ile De la Reunion", "Roumanie", "Russie",
        "Rwanda", "St. Helena", "St. Kitts", "St. Lucia", "St. Pierre", "St. Vincent", "Saipan", "San Marino",
        "Sao Tome", "Arabie Saoudite", "Republique Senegalaise", "Serbia", "Seychelles", "Sierra Leone",
        "Singapoure", "Slovakia (Slovak Republic)", "Slovenia", "Solomon Islands", "Somalie", "Afrique du Sud",
        "Kore du Sud", "Espagne", "Sri Lanka", "Suede", "Suriname", "Swaziland", "Suede", "Switzerland", "Syrie",
        "Taiwan", "Tajikistan", "Tanzania", "Thailand", "Togo", "Togo", "Trinidad and Tobago", "Tunesie",
        "Turquie", "Turkmenistan", "Turks and Caicos Islands", "Tuvalu", "Uganda", "Ukraine",
        "United Arab Emirates", "Royaume Uni", "Etats Unis d'Amerique", "U.S. Virgin Islands", "Uruguay",
        "Uzbekistan", "Vanuatu", "Vatican city", "Venezuela", "Vietnam",
    };
    return countries;
}

}  // namespace ui
