# The words on the pictures, per UI language, with the offset each language's
# variant has from the picture's base id.

LANGUAGES = [("en", 0), ("it", 3), ("fr", 4), ("ja", 5), ("de", 8), ("zh_tw", 9)]

TEXTS = {
    "en": {
        "browse": "Browse",
        "options": "Customize installation",
        "hide": "Hide",
        "install": "Install now",
        "start": "Start now",
        "licence": ("I have read and agree to the ", "Velmora License Agreement", ""),
        "slides": [
            ("Welcome to Velmora Korvix", "Everything you need is set up for you."),
            ("Downloading at full speed", "Korvix arrives in 40 parallel parts."),
            ("Almost ready", "Korvix is ready as soon as setup ends."),
        ],
    },
    "de": {
        "browse": "Durchsuchen",
        "options": "Installation anpassen",
        "hide": "Ausblenden",
        "install": "Jetzt installieren",
        "start": "Jetzt starten",
        "licence": ("Ich habe den ", "Velmora Lizenzvertrag", " gelesen und stimme zu"),
        "slides": [
            ("Willkommen bei Velmora Korvix", "Alles Nötige wird für Sie eingerichtet."),
            ("Download mit voller Geschwindigkeit", "Korvix kommt in 40 parallelen Teilen."),
            ("Gleich geschafft", "Korvix ist bereit, sobald das Setup endet."),
        ],
    },
    "fr": {
        "browse": "Parcourir",
        "options": "Personnaliser l'installation",
        "hide": "Masquer",
        "install": "Installer",
        "start": "Démarrer",
        "licence": ("J'ai lu et j'accepte le ", "Contrat de Licence Velmora", ""),
        "slides": [
            ("Bienvenue dans Velmora Korvix", "Tout le nécessaire est configuré pour vous."),
            ("Téléchargement à pleine vitesse", "Korvix arrive en 40 parties parallèles."),
            ("Presque terminé", "Korvix sera prêt dès la fin de l'installation."),
        ],
    },
    "it": {
        "browse": "Sfoglia",
        "options": "Personalizza installazione",
        "hide": "Nascondi",
        "install": "Installa ora",
        "start": "Avvia ora",
        "licence": ("Ho letto e accetto l'", "Accordo di Licenza Velmora", ""),
        "slides": [
            ("Benvenuti in Velmora Korvix", "Tutto il necessario viene configurato per voi."),
            ("Download alla massima velocità", "Korvix arriva in 40 parti parallele."),
            ("Quasi pronto", "Korvix sarà pronto al termine dell'installazione."),
        ],
    },
    "ja": {
        "browse": "参照",
        "options": "カスタムインストール",
        "hide": "隠す",
        "install": "今すぐインストール",
        "start": "今すぐ起動",
        "licence": ("", "Velmora使用許諾契約", "を読み、同意します"),
        "slides": [
            ("Velmora Korvixへようこそ", "必要なものはすべて自動で準備されます。"),
            ("最高速度でダウンロード中", "Korvixを40の並列パートで取得しています。"),
            ("まもなく完了します", "セットアップが終わるとすぐに使えます。"),
        ],
    },
    "zh_tw": {
        "browse": "瀏覽",
        "options": "自訂安裝",
        "hide": "隱藏",
        "install": "立即安裝",
        "start": "立即啟動",
        "licence": ("我已閱讀並同意", "Velmora 授權協議", ""),
        "slides": [
            ("歡迎使用 Velmora Korvix", "所需的一切都會自動為您設定。"),
            ("全速下載中", "Korvix 正以 40 個平行區段下載。"),
            ("即將完成", "安裝結束後即可開始使用 Korvix。"),
        ],
    },
}
