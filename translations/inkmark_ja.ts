<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>MAIN</name>
    <message>
        <source>Quorvel Inkmark Tool Version 1.00</source>
        <translation>Quorvel Inkmark Tool バージョン 1.00</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>プリンタ</translation>
    </message>
    <message>
        <source>Na&amp;me</source>
        <translation>機種(&amp;M)</translation>
    </message>
    <message>
        <source>Paper &amp;Width</source>
        <translation>用紙幅(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;1st Color</source>
        <translation>第1色(&amp;1)</translation>
    </message>
    <message>
        <source>&amp;2nd Color</source>
        <translation>第2色(&amp;2)</translation>
    </message>
    <message>
        <source>1st Color</source>
        <translation>第1色</translation>
    </message>
    <message>
        <source>2nd Color</source>
        <translation>第2色</translation>
    </message>
    <message>
        <source>Resol&amp;ution</source>
        <translation>解像度(&amp;U)</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>インタフェース</translation>
    </message>
    <message>
        <source>P&amp;ort</source>
        <translation>ポート(&amp;O)</translation>
    </message>
    <message>
        <source>B&amp;aud rate</source>
        <translation>通信速度(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Data Length</source>
        <translation>データ長(&amp;D)</translation>
    </message>
    <message>
        <source>Parit&amp;y</source>
        <translation>パリティ(&amp;Y)</translation>
    </message>
    <message>
        <source>&amp;Handshake</source>
        <translation>フロー制御(&amp;H)</translation>
    </message>
    <message>
        <source>Printer Dri&amp;ver</source>
        <translation>プリンタドライバ(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>新規作成(&amp;N)</translation>
    </message>
    <message>
        <source>Print to &amp;file...</source>
        <translation>ファイルに出力(&amp;F)...</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Register to printer...</source>
        <translation>登録(&amp;R)...</translation>
    </message>
    <message>
        <source>&amp;Preview...</source>
        <translation>プレビュー(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Control Printer...</source>
        <translation>プリンタ管理(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Test Print</source>
        <translation>テスト印刷(&amp;T)</translation>
    </message>
    <message>
        <source>Ex&amp;it</source>
        <translation>終了(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Source File</source>
        <translation>元画像(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>参照(&amp;B)</translation>
    </message>
    <message>
        <source>Fit to paper's width</source>
        <translation>用紙の幅に合わせる</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>プロパティ</translation>
    </message>
    <message>
        <source>Monochrome</source>
        <translation>単色</translation>
    </message>
    <message>
        <source>Te&amp;xt</source>
        <translation>文字(&amp;X)</translation>
    </message>
    <message>
        <source>Co&amp;lor</source>
        <translation>色(&amp;L)</translation>
    </message>
    <message>
        <source>Image Processin&amp;g</source>
        <translation>画像処理(&amp;G)</translation>
    </message>
    <message>
        <source>Coarse</source>
        <translation>粗い</translation>
    </message>
    <message>
        <source>Fine</source>
        <translation>細かい</translation>
    </message>
    <message>
        <source>Revise Level</source>
        <translation>補正レベル</translation>
    </message>
    <message>
        <source>Color Attach(at every brightness level)</source>
        <translation>色の割り当て(明るさごと)</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>手動</translation>
    </message>
    <message>
        <source>White</source>
        <translation>白</translation>
    </message>
    <message>
        <source>(Low) 1:</source>
        <translation>暗 1:</translation>
    </message>
    <message>
        <source>(High) 8:</source>
        <translation>明 8:</translation>
    </message>
    <message>
        <source>Text %1</source>
        <translation>文字 %1</translation>
    </message>
    <message>
        <source>Image %1</source>
        <translation>画像 %1</translation>
    </message>
    <message>
        <source>None</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶数</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇数</translation>
    </message>
    <message>
        <source>Network...</source>
        <translation>ネットワーク...</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>ネットワーク</translation>
    </message>
    <message>
        <source>Printer address (tcp://HOST:PORT):</source>
        <translation>プリンタのアドレス (tcp://ホスト:ポート):</translation>
    </message>
    <message>
        <source>Input the printer&apos;s address as tcp://HOST:PORT, such as tcp://192.168.0.50:9100.</source>
        <translation>プリンタのアドレスを tcp://ホスト:ポート の形で入力してください (例: tcp://192.168.0.50:9100)。</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Printer &amp;address (tcp://HOST:PORT):</source>
        <translation>プリンタのアドレス(&amp;A) (tcp://ホスト:ポート):</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>削除(&amp;R)</translation>
    </message>
    <message>
        <source>The text changed in this window is not in the file, and the editor opens the file as saved.
Discard the changes and edit the file?</source>
        <translation>このウィンドウで変更した文字はファイルに保存されていません。エディタは保存されたファイルを開きます。
変更を破棄してファイルを編集しますか?</translation>
    </message>
</context>
<context>
    <name>KEYIN</name>
    <message>
        <source>Setting Key</source>
        <translation>キーの設定</translation>
    </message>
    <message>
        <source>&amp;Execute</source>
        <translation>実行(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>キャンセル(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Input a key to use for registration of NV graphics.</source>
        <translation>NV登録に使うキーを入力してください(&amp;I)。</translation>
    </message>
    <message>
        <source>&amp;Key:</source>
        <translation>キー(&amp;K):</translation>
    </message>
</context>
<context>
    <name>NVMANAGE</name>
    <message>
        <source>Control Printer Registry</source>
        <translation>NVグラフィックスの管理</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <source>NV graphics &amp;keycode:</source>
        <translation>キーコード(&amp;K):</translation>
    </message>
    <message>
        <source>&amp;Get keycode lists</source>
        <translation>一覧を取得(&amp;G)</translation>
    </message>
    <message>
        <source>&amp;Select All</source>
        <translation>すべて選択(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Remove Select</source>
        <translation>選択解除(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>印刷(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>削除(&amp;D)</translation>
    </message>
</context>
<context>
    <name>inkmark</name>
    <message>
        <source>Usage: inkmark [options] COMMAND [operands]

Converts pictures and logo documents into two-colour logos for the printer, and
manages the logos stored in the printer's NV graphics memory.

Commands:
  printers                          list the printer models with their choices;
                                    '*' marks the current choice of each list
  raster SOURCE -o FILE             write the print raster as a bitmap file
  command-file SOURCE -k KEY -o FILE
                                    write the printer commands that register
                                    the logo under KEY into FILE
  register SOURCE -k KEY            register the logo in NV memory under KEY;
                                    a key already stored is refused unless
                                    --if-changed or --replace says otherwise
  test-print SOURCE                 print the logo once
  keys                              list the stored keys, one per line
  capacity                          print the remaining NV capacity in bytes
  print KEY...                      print the logos stored under the keys
  delete [--yes] KEY...             delete the logos stored under the keys,
                                    asking for each on the terminal unless --yes
  preview SOURCE                    print the logo's size in mm and dots and
                                    the share of each ink
  status                            show whether the printer is reached, its
                                    free NV capacity and each stored key with
                                    what the ledger knows of it
  ledger                            show the ledger's registrations and
                                    deletions, oldest first

SOURCE is a picture (.BMP, .RLE, .JPG, .PNG, .GIF, .SVG) or a logo document
(.QLF), by its extension. Transparent parts of a picture print as white paper;
an SVG is drawn at the paper's width (--fit) or at its own size. A KEY is two
characters from 0x20 to 0x7E, such as AB or 01.

Printer options (default: the saved settings, else the printer file's defaults):
  --printer NAME       the printer model, as 'inkmark printers' lists it
  --paper NAME         paper width, such as 80mm
  --first COLOR        the 1st colour
  --second COLOR       the 2nd colour, or None
  --resolution DPI     print resolution
  --port NAME          COM1..COM4, LPT1 or the printer driver port, or a
                       network printer tcp://HOST[:PORT] (port 9100 when left
                       out; an IPv6 HOST in brackets) with any model
  --baud N             serial port speed
  --data-bits N        serial data bits
  --parity NAME        serial parity: None, Even or Odd
  --flow NAME          serial flow control: DTR/DSR or XON/XOFF
  --driver NAME        spooler printer of the driver port
  --printers-dir DIR   where the *.DEF printer files are (default: beside
                       the program, else the installed ones)
A value the chosen model does not offer is refused with the model's choices.

Many printers at once (register, test-print, keys, capacity, print, delete,
status):
  --port NAME          given more than once: the command runs on each port
  --printers-list FILE one printer a line: PORT [OPTION VALUE]..., with any
                       printer option but --port; a value with blanks is
                       written in double quotes, a line starting with '#'
                       is a comment
  --jobs N             how many printers at a time, 1 to 64 (default 4)
  --deadline SECONDS   stop a printer's run that has not ended after this
                       long, 1 to 86400 (default: a minute, and for register
                       and test-print twice the time the largest logo takes
                       at the line's speed on top)
Each printer gets one line: its port, ok or failed, and its output or why it
failed, separated by tabs; a summary follows. delete needs --yes. The exit
status is 0 only when every printer succeeded. status writes its own lines.

Conversion options (for the commands that take a SOURCE):
  --fit                          fit the logo to the paper's width
  --mono 1|2                     Monochrome in the 1st or the 2nd colour
  --grade coarse|middle|fine     image processing grade (default coarse)
  --rgb R,G,B                    revise levels of red, green and blue, each 1-5
                                 (default 3,3,3)
  --attach auto|manual:L1,L2,L3,L4,L5,L6,L7,L8
                                 colour attachment of the eight brightness
                                 levels, darkest first: 1 (1st colour),
                                 2 (2nd colour) or w (white); manual needs the
                                 coarse grade, and with --mono a level is 1 or w

The ledger records every registration (printer, model, key, the print raster
and its SHA-256, the source's name and SHA-256, time, user) and deletion:
  --ledger FILE        the ledger to use (default:
                       $XDG_DATA_HOME/inkmark/ledger.sqlite, else
                       ~/.local/share/inkmark/ledger.sqlite); created when
                       missing; one that cannot be used stops no printer
                       command, which then says it is not recorded
  --name NAME          the printer's name in the ledger instead of its port;
                       in a printers list, on the printer's own line
  --if-changed         register: a printer holding, by the ledger, this very
                       logo under KEY is left alone and reported unchanged;
                       one holding another logo fails, unless --replace
  --replace            register: a stored KEY is deleted and defined anew; if
                       the define fails, the previous logo is put back from
                       the ledger; a logo the ledger does not know is left
                       alone unless --yes
  --since TIME         ledger: entries from TIME on, as YYYY-MM-DD,
                       YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS in UTC
ledger takes --port or --name and -k KEY to show one printer or one key.

Other options:
  -o, --output FILE    the file that raster and command-file write
  -k, --key KEY        the key that command-file and register use
  --yes                delete without asking; with register --replace,
                       replace a logo the ledger does not know
  --json               write the result of printers, keys, capacity, preview,
                       status, ledger or of many printers as one JSON document
  --version            show the version
  -h, --help           show this text

Options may also be written --option=VALUE; '--' ends the options.
Long transfers show their progress on standard error when it is a terminal.

Exit status: 0 success, 1 the operation failed, 2 a usage error.
</source>
        <translation>使い方: inkmark [オプション] コマンド [引数]

画像とロゴ文書をプリンタ用の2色ロゴに変換し、プリンタのNVグラフィックス
メモリに登録されたロゴを管理します。

コマンド:
  printers                          プリンタの機種と選択肢を一覧表示します;
                                    '*' は各一覧の現在の選択です
  raster SOURCE -o FILE             印刷ラスタをビットマップに書き出します
  command-file SOURCE -k KEY -o FILE
                                    ロゴをKEYで登録するプリンタコマンドを
                                    FILEに書き出します
  register SOURCE -k KEY            ロゴをKEYでNVメモリに登録します;
                                    登録済みのキーは拒否されます
                                    (--if-changed、--replace を除く)
  test-print SOURCE                 ロゴを1回印刷します
  keys                              登録済みのキーを1行に1つずつ表示します
  capacity                          NVの残り容量をバイト数で表示します
  print KEY...                      キーで登録されたロゴを印刷します
  delete [--yes] KEY...             キーで登録されたロゴを削除します;
                                    --yes がなければ1つずつ端末で確認します
  preview SOURCE                    ロゴの大きさ(mmとドット)と各インクの
                                    使用率を表示します
  status                            プリンタに届くか、NVの空き容量、登録済みの
                                    各キーと台帳が知るその内容を表示します
  ledger                            台帳の登録と削除の記録を古い順に表示します

SOURCEは拡張子で区別される画像(.BMP, .RLE, .JPG, .PNG, .GIF, .SVG)または
ロゴ文書(.QLF)です。画像の透明な部分は白い用紙として印刷されます。SVGは
用紙幅(--fit)または自身の大きさで描画されます。
KEYは0x20から0x7Eまでの2文字です(例: AB, 01)。

プリンタのオプション(既定値: 保存された設定、なければプリンタファイルの既定値):
  --printer NAME       プリンタの機種('inkmark printers' の表示のとおり)
  --paper NAME         用紙幅(例: 80mm)
  --first COLOR        第1色
  --second COLOR       第2色、または None
  --resolution DPI     印刷の解像度
  --port NAME          COM1..COM4、LPT1、またはプリンタドライバのポート、
                       またはネットワークプリンタ tcp://ホスト[:ポート]
                       (ポート省略時は9100、IPv6のホストは角括弧で囲む;
                       どの機種でも使用可)
  --baud N             シリアルポートの通信速度
  --data-bits N        シリアルのデータビット数
  --parity NAME        シリアルのパリティ: None、Even、Odd
  --flow NAME          シリアルのフロー制御: DTR/DSR、XON/XOFF
  --driver NAME        ドライバポートのスプーラのプリンタ
  --printers-dir DIR   *.DEF プリンタファイルの場所(既定値: プログラムと
                       同じ場所、なければインストール先)
機種が提供しない値は、その機種の選択肢とともに拒否されます。

複数のプリンタに同時に(register、test-print、keys、capacity、print、delete、
status):
  --port NAME          複数回指定すると、コマンドを各ポートで実行します
  --printers-list FILE 1行に1台: ポート [オプション 値]...(--port 以外の
                       プリンタのオプションを使用可); 空白を含む値は
                       二重引用符で囲み、'#' で始まる行は注釈です
  --jobs N             同時に扱うプリンタの数、1から64(既定値 4)
  --deadline SECONDS   終わらないプリンタの実行をこの秒数で止めます、
                       1から86400(既定値: 1分、register と test-print は
                       最大のロゴを回線の速度で送る時間の2倍を加算)
プリンタごとに1行: ポート、ok または failed、出力または失敗の理由を
タブで区切って表示し、最後に集計を表示します。delete には --yes が必要です。
すべてのプリンタが成功したときだけ終了ステータスは0です。status は独自の行を
表示します。

変換のオプション(SOURCEを取るコマンド用):
  --fit                          ロゴを用紙幅に合わせます
  --mono 1|2                     第1色または第2色の単色にします
  --grade coarse|middle|fine     画像処理の細かさ(既定値 coarse)
  --rgb R,G,B                    赤・緑・青の補正レベル、各1-5
                                 (既定値 3,3,3)
  --attach auto|manual:L1,L2,L3,L4,L5,L6,L7,L8
                                 8段階の明るさごとの色の割り当て(暗い順):
                                 1 (第1色)、2 (第2色)、w (白); manual は
                                 coarse でのみ使え、--mono では 1 か w です

台帳はすべての登録(プリンタ、機種、キー、印刷ラスタとそのSHA-256、元の
ファイルの名前とSHA-256、日時、ユーザ)と削除を記録します:
  --ledger FILE        使用する台帳(既定値:
                       $XDG_DATA_HOME/inkmark/ledger.sqlite、なければ
                       ~/.local/share/inkmark/ledger.sqlite); なければ作成
                       します; 使えない台帳はプリンタのコマンドを止めず、
                       コマンドは記録されなかったことを表示します
  --name NAME          台帳でポートの代わりに使うプリンタの名前;
                       プリンタ一覧ではそのプリンタの行に書きます
  --if-changed         register: 台帳によればKEYに同じロゴを持つプリンタは
                       そのままにして「変更なし」と表示します; 別のロゴを
                       持つプリンタは失敗します(--replace を除く)
  --replace            register: 登録済みのKEYを削除して登録し直します;
                       登録に失敗すると以前のロゴを台帳から戻します; 台帳が
                       知らないロゴは --yes がなければそのままにします
  --since TIME         ledger: TIME以降の記録(YYYY-MM-DD、YYYY-MM-DDTHH:MM
                       または YYYY-MM-DDTHH:MM:SS、UTC)
ledger は --port か --name と -k KEY で1台のプリンタや1つのキーに絞れます。

その他のオプション:
  -o, --output FILE    raster と command-file が書き出すファイル
  -k, --key KEY        command-file と register が使うキー
  --yes                確認せずに削除します; register --replace では
                       台帳が知らないロゴも置き換えます
  --json               printers、keys、capacity、preview、status、ledger
                       または複数のプリンタの結果を1つのJSON文書として
                       書き出します
  --version            バージョンを表示します
  -h, --help           この説明を表示します

オプションは --option=VALUE とも書けます; '--' でオプションが終わります。
長い転送は、標準エラーが端末のとき進み具合を表示します。

終了ステータス: 0 成功、1 操作の失敗、2 使い方の誤り。
</translation>
    </message>
    <message>
        <source>--port and --printers-list cannot be used together</source>
        <translation>--port と --printers-list は同時に使えません</translation>
    </message>
    <message>
        <source>%1 does not take more than one printer</source>
        <translation>%1 は複数のプリンタを扱えません</translation>
    </message>
    <message>
        <source>--jobs applies only to more than one printer</source>
        <translation>--jobs は複数のプリンタにだけ使えます</translation>
    </message>
    <message>
        <source>--deadline applies only to more than one printer</source>
        <translation>--deadline は複数のプリンタにだけ使えます</translation>
    </message>
    <message>
        <source>delete on more than one printer needs --yes</source>
        <translation>複数のプリンタでの delete には --yes が必要です</translation>
    </message>
    <message>
        <source>--json applies to printers, keys, capacity, preview and more than one printer</source>
        <translation>--json は printers、keys、capacity、preview と複数のプリンタにだけ使えます</translation>
    </message>
    <message>
        <source>printers list line %1: %2</source>
        <translation>プリンタ一覧の %1 行目: %2</translation>
    </message>
    <message>
        <source>the list is longer than 1 MiB</source>
        <translation>一覧が1 MiBを超えています</translation>
    </message>
    <message>
        <source>longer than %1 characters</source>
        <translation>%1 文字を超えています</translation>
    </message>
    <message>
        <source>a NUL character</source>
        <translation>NUL文字があります</translation>
    </message>
    <message>
        <source>a quote is not closed</source>
        <translation>引用符が閉じていません</translation>
    </message>
    <message>
        <source>a line must start with the printer's port</source>
        <translation>行はプリンタのポートで始める必要があります</translation>
    </message>
    <message>
        <source>unknown printer option '%1'</source>
        <translation>不明なプリンタのオプション '%1'</translation>
    </message>
    <message>
        <source>option %1 needs a value</source>
        <translation>オプション %1 には値が必要です</translation>
    </message>
    <message>
        <source>more than %1 printers</source>
        <translation>プリンタが %1 台を超えています</translation>
    </message>
    <message>
        <source>the list names no printer</source>
        <translation>一覧にプリンタがありません</translation>
    </message>
    <message>
        <source>done</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>no result within %1 s: stopped</source>
        <translation>%1 秒以内に結果がないため止めました</translation>
    </message>
    <message>
        <source>the run ended abnormally</source>
        <translation>実行が異常終了しました</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>cannot read the printers list '%1'</source>
        <translation>プリンタ一覧 '%1' を読めません</translation>
    </message>
    <message>
        <source>printer %1: %2</source>
        <translation>プリンタ %1: %2</translation>
    </message>
    <message>
        <source>%1 of %2 printers succeeded</source>
        <translation>%2 台中 %1 台のプリンタが成功しました</translation>
    </message>
    <message>
        <source>; failed: %1</source>
        <translation>; 失敗: %1</translation>
    </message>
    <message>
        <source>cannot find the program to run for each printer</source>
        <translation>プリンタごとに実行するプログラムが見つかりません</translation>
    </message>
    <message>
        <source>cannot start the run for this printer</source>
        <translation>このプリンタの実行を開始できません</translation>
    </message>
    <message>
        <source>option %1 is given twice</source>
        <translation>オプション %1 が2回指定されています</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>不明なオプション %1</translation>
    </message>
    <message>
        <source>option %1 takes no value</source>
        <translation>オプション %1 は値を取りません</translation>
    </message>
    <message>
        <source>invalid value %1 for %2: expected %3</source>
        <translation>%2 の値 %1 が正しくありません: %3 を指定してください</translation>
    </message>
    <message>
        <source>option %1 needs a non-empty value</source>
        <translation>オプション %1 には空でない値が必要です</translation>
    </message>
    <message>
        <source>a number from %1 to %2</source>
        <translation>%1 から %2 までの数</translation>
    </message>
    <message>
        <source>option --output needs a file name</source>
        <translation>オプション --output にはファイル名が必要です</translation>
    </message>
    <message>
        <source>two characters from 0x20 to 0x7E</source>
        <translation>0x20 から 0x7E までの2文字</translation>
    </message>
    <message>
        <source>coarse, middle or fine</source>
        <translation>coarse、middle、fine のいずれか</translation>
    </message>
    <message>
        <source>R,G,B with each level from 1 to 5</source>
        <translation>R,G,B (各レベル 1 から 5)</translation>
    </message>
    <message>
        <source>auto, or manual: and 8 levels each 1, 2 or w, separated by commas</source>
        <translation>auto、または manual: に続けてコンマ区切りの8レベル (各 1、2、w)</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation>不明なコマンド %1</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>コマンドが指定されていません</translation>
    </message>
    <message>
        <source>%1 takes exactly one SOURCE</source>
        <translation>%1 には SOURCE を1つだけ指定してください</translation>
    </message>
    <message>
        <source>SOURCE must not be empty</source>
        <translation>SOURCE は空にできません</translation>
    </message>
    <message>
        <source>%1 needs at least one KEY</source>
        <translation>%1 には KEY が1つ以上必要です</translation>
    </message>
    <message>
        <source>invalid key %1: expected two characters from 0x20 to 0x7E</source>
        <translation>キー %1 が正しくありません: 0x20 から 0x7E までの2文字を指定してください</translation>
    </message>
    <message>
        <source>%1 takes no operands, but got %2</source>
        <translation>%1 は引数を取りませんが、%2 が指定されました</translation>
    </message>
    <message>
        <source>%1 needs -o FILE</source>
        <translation>%1 には -o FILE が必要です</translation>
    </message>
    <message>
        <source>%1 takes no -o</source>
        <translation>%1 は -o を取りません</translation>
    </message>
    <message>
        <source>%1 needs -k KEY</source>
        <translation>%1 には -k KEY が必要です</translation>
    </message>
    <message>
        <source>%1 takes no -k</source>
        <translation>%1 は -k を取りません</translation>
    </message>
    <message>
        <source>--yes applies to delete only</source>
        <translation>--yes は delete にだけ使えます</translation>
    </message>
    <message>
        <source>conversion options apply only to commands that take a SOURCE</source>
        <translation>変換のオプションは SOURCE を取るコマンドにだけ使えます</translation>
    </message>
    <message>
        <source>--attach manual needs the coarse grade: manual levels apply to it only</source>
        <translation>--attach manual には coarse の画像処理が必要です: 手動のレベルはそれにだけ使えます</translation>
    </message>
    <message>
        <source>with --mono, each --attach level is 1 (the ink) or w (white)</source>
        <translation>--mono では、--attach の各レベルは 1 (インク) か w (白) です</translation>
    </message>
    <message>
        <source>cannot write '%1': %2</source>
        <translation>'%1' に書き込めません: %2</translation>
    </message>
    <message>
        <source>the temporary folder '%1' cannot be made safe</source>
        <translation>一時フォルダ '%1' を安全にできません</translation>
    </message>
    <message>
        <source>--mono 2 needs a 2nd colour, but the 2nd colour is None</source>
        <translation>--mono 2 には第2色が必要ですが、第2色は None です</translation>
    </message>
    <message>
        <source>an --attach level of 2 needs a 2nd colour, but it is None</source>
        <translation>--attach のレベル 2 には第2色が必要ですが、None です</translation>
    </message>
    <message>
        <source>SOURCE is longer than %1 characters</source>
        <translation>SOURCE が %1 文字より長いです</translation>
    </message>
    <message>
        <source>SOURCE '%1' is not a %2 or .QLF file</source>
        <translation>SOURCE '%1' は %2、.QLF のいずれのファイルでもありません</translation>
    </message>
    <message>
        <source>SOURCE '%1' is not a readable file</source>
        <translation>SOURCE '%1' は読み込めるファイルではありません</translation>
    </message>
    <message>
        <source>it is a link in a shared folder, owned by someone else, that is not followed</source>
        <translation>共有フォルダにある他人のリンクのため、たどりません</translation>
    </message>
    <message>
        <source>printers list line %1, printer %2: %3</source>
        <translation>プリンタ一覧の %1 行目、プリンタ %2: %3</translation>
    </message>
    <message>
        <source>the printer file '%1' is refused: %2</source>
        <translation>プリンタ情報ファイル '%1' は使用できません: %2</translation>
    </message>
    <message>
        <source>the saved settings are not read: %1</source>
        <translation>保存された設定は読み込まれません: %1</translation>
    </message>
    <message>
        <source>the output '%1' is the source '%2'; choose another name</source>
        <translation>出力 '%1' は元のファイル '%2' と同じです。別の名前を選んでください</translation>
    </message>
    <message>
        <source>%1 offers no %2 '%3'; the choices are: %4</source>
        <translation>%1 には%2 '%3' がありません。選択肢: %4</translation>
    </message>
    <message>
        <source>none</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>no printer model is chosen</source>
        <translation>プリンタの機種が選ばれていません</translation>
    </message>
    <message>
        <source>invalid network port '%1': expected tcp://HOST[:PORT], an IPv6 HOST in brackets, PORT 1 to 65535</source>
        <translation>ネットワークポート '%1' が正しくありません: tcp://HOST[:PORT] (IPv6 の HOST は角かっこで囲み、PORT は 1 から 65535) を指定してください</translation>
    </message>
    <message>
        <source>Try 'inkmark --help' for more information.</source>
        <translation>詳しくは 'inkmark --help' を参照してください。</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <source>it cannot be created or replaced</source>
        <translation>作成も置き換えもできません</translation>
    </message>
    <message>
        <source>writing it failed (the disk may be full); it is left as it was</source>
        <translation>書き込みに失敗しました (ディスクがいっぱいの可能性があります)。元のままです</translation>
    </message>
    <message>
        <source>paper</source>
        <translation>用紙</translation>
    </message>
    <message>
        <source>1st colour</source>
        <translation>第1色</translation>
    </message>
    <message>
        <source>2nd colour</source>
        <translation>第2色</translation>
    </message>
    <message>
        <source>resolution</source>
        <translation>解像度</translation>
    </message>
    <message>
        <source>port</source>
        <translation>ポート</translation>
    </message>
    <message>
        <source>baud rate</source>
        <translation>通信速度</translation>
    </message>
    <message>
        <source>data bits</source>
        <translation>データビット</translation>
    </message>
    <message>
        <source>parity</source>
        <translation>パリティ</translation>
    </message>
    <message>
        <source>flow control</source>
        <translation>フロー制御</translation>
    </message>
    <message>
        <source>printer driver</source>
        <translation>プリンタドライバ</translation>
    </message>
    <message>
        <source>baud</source>
        <translation>通信速度</translation>
    </message>
    <message>
        <source>flow</source>
        <translation>フロー制御</translation>
    </message>
    <message>
        <source>driver</source>
        <translation>ドライバ</translation>
    </message>
    <message>
        <source>no terminal to answer; taken as %1</source>
        <translation>答える端末がないため「%1」とします</translation>
    </message>
    <message>
        <source>No</source>
        <translation>いいえ</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>sent %1 of %2 bytes</source>
        <translation>%2 バイト中 %1 バイトを送信</translation>
    </message>
    <message>
        <source>printer</source>
        <translation>プリンタ</translation>
    </message>
    <message>
        <source>The printer folder offers no printer &apos;%1&apos;; the choices are: %2</source>
        <translation>プリンタ &apos;%1&apos; はプリンタフォルダにありません。選択肢: %2</translation>
    </message>
    <message>
        <source>YYYY-MM-DD, YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS (UTC)</source>
        <translation>YYYY-MM-DD、YYYY-MM-DDTHH:MM または YYYY-MM-DDTHH:MM:SS(UTC)</translation>
    </message>
    <message>
        <source>--name names one printer; give it on each line of a printers list</source>
        <translation>--name は1台のプリンタの名前です; プリンタ一覧の各行に書いてください</translation>
    </message>
    <message>
        <source>--json applies to printers, keys, capacity, preview, status, ledger and more than one printer</source>
        <translation>--json は printers、keys、capacity、preview、status、ledger と複数のプリンタに使えます</translation>
    </message>
    <message>
        <source>--if-changed and --replace apply to register only</source>
        <translation>--if-changed と --replace は register にだけ使えます</translation>
    </message>
    <message>
        <source>--since applies to ledger only</source>
        <translation>--since は ledger にだけ使えます</translation>
    </message>
    <message>
        <source>ledger takes --name or --port, not both</source>
        <translation>ledger には --name か --port のどちらか一方を指定します</translation>
    </message>
    <message>
        <source>--yes applies to delete and register --replace only</source>
        <translation>--yes は delete と register --replace にだけ使えます</translation>
    </message>
    <message>
        <source>the ledger &apos;%1&apos; cannot be used: %2</source>
        <translation>台帳 &apos;%1&apos; を使えません: %2</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>変更なし</translation>
    </message>
    <message>
        <source>key %1 on %2 holds another logo; --replace replaces it</source>
        <translation>%2 のキー %1 には別のロゴがあります; --replace で置き換えられます</translation>
    </message>
    <message>
        <source>key %1 on %2 is left alone: the ledger does not know its logo, so it could not be restored if the new one failed; --yes replaces it anyway</source>
        <translation>%2 のキー %1 はそのままにしました: 台帳がそのロゴを知らないため、新しいロゴの登録に失敗すると元に戻せません; --yes を付けるとそれでも置き換えます</translation>
    </message>
    <message>
        <source>replaced</source>
        <translation>置き換えました</translation>
    </message>
    <message>
        <source>the previous logo under key %1 on %2 could not be restored: the ledger does not know it</source>
        <translation>%2 のキー %1 の以前のロゴを元に戻せませんでした: 台帳がそのロゴを知りません</translation>
    </message>
    <message>
        <source>the previous logo under key %1 on %2 could not be put back; the key is empty</source>
        <translation>%2 のキー %1 の以前のロゴを戻せませんでした; キーは空です</translation>
    </message>
    <message>
        <source>the previous logo under key %1 on %2 was put back</source>
        <translation>%2 のキー %1 に以前のロゴを戻しました</translation>
    </message>
    <message>
        <source>%1 bytes free</source>
        <translation>空き %1 バイト</translation>
    </message>
    <message>
        <source>1 key</source>
        <translation>キー 1 個</translation>
    </message>
    <message>
        <source>%1 keys</source>
        <translation>キー %1 個</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>不明</translation>
    </message>
    <message>
        <source>the deletion of key %1 on %2 was done but is not recorded</source>
        <translation>%2 のキー %1 は削除しましたが、記録されていません</translation>
    </message>
    <message>
        <source>the logo put back under key %1 on %2 is not recorded</source>
        <translation>%2 のキー %1 に戻したロゴは記録されていません</translation>
    </message>
    <message>
        <source>the registration of key %1 on %2 was done but is not recorded</source>
        <translation>%2 のキー %1 は登録しましたが、記録されていません</translation>
    </message>
</context>
<context>
    <name>Preview</name>
    <message>
        <source>Size:%1x%2mm(%3x%4dot), Ink rate:1st=%5% 2nd=%6%</source>
        <translation>サイズ:%1x%2mm(%3x%4ドット)、インク使用率:第1色=%5% 第2色=%6%</translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source>Sent %1 of %2 bytes, about %3 s left</source>
        <translation>%2 バイト中 %1 バイトを送信、残り約 %3 秒</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>キャンセル(&amp;C)</translation>
    </message>
</context>
<context>
    <name>ToolTips</name>
    <message>
        <source>The ink this brightness level prints in: the 1st color, the 2nd color or none (white).</source>
        <translation>この明るさの段階を印刷するインク: 第1色、第2色、またはなし(白)。</translation>
    </message>
    <message>
        <source>The printer model. Its printer file sets the paper widths, inks, resolutions and ports offered below.</source>
        <translation>プリンタの機種。下に並ぶ用紙幅、インク、解像度、ポートはその機種のプリンタファイルで決まります。</translation>
    </message>
    <message>
        <source>The width of the paper in the printer; the logo is made to fit it.</source>
        <translation>プリンタの用紙の幅。ロゴはこの幅に収まるように作られます。</translation>
    </message>
    <message>
        <source>The printer&apos;s first ink.</source>
        <translation>プリンタの第1色のインク。</translation>
    </message>
    <message>
        <source>The printer&apos;s second ink, or None for a printer with one ink.</source>
        <translation>プリンタの第2色のインク。インクが1色のプリンタでは None。</translation>
    </message>
    <message>
        <source>The printer&apos;s resolution in dots per inch; the logo is made for it.</source>
        <translation>プリンタの解像度(dpi)。ロゴはこの解像度で作られます。</translation>
    </message>
    <message>
        <source>Where the printer is connected: a serial or parallel port, the printer&apos;s driver, or a network address (Network...).</source>
        <translation>プリンタの接続先: シリアルポート、パラレルポート、プリンタドライバ、またはネットワークのアドレス(ネットワーク...)。</translation>
    </message>
    <message>
        <source>The speed of the serial line. It must match the printer&apos;s setting.</source>
        <translation>シリアル回線の速度。プリンタの設定と同じにしてください。</translation>
    </message>
    <message>
        <source>Data bits per character on the serial line. It must match the printer&apos;s setting.</source>
        <translation>シリアル回線の1文字あたりのデータビット数。プリンタの設定と同じにしてください。</translation>
    </message>
    <message>
        <source>The parity of the serial line. It must match the printer&apos;s setting.</source>
        <translation>シリアル回線のパリティ。プリンタの設定と同じにしてください。</translation>
    </message>
    <message>
        <source>How the printer holds data back while it is busy. It must match the printer&apos;s setting.</source>
        <translation>プリンタが処理中にデータを止める方法。プリンタの設定と同じにしてください。</translation>
    </message>
    <message>
        <source>The system&apos;s printer queue for this printer.</source>
        <translation>このプリンタにつながるシステムのプリンタキュー。</translation>
    </message>
    <message>
        <source>Opens the editor on a new logo document as wide as the paper.</source>
        <translation>用紙幅の新しいロゴ文書をエディタで開きます。</translation>
    </message>
    <message>
        <source>Saves the logo as a bitmap, or as a file of printer commands that registers it.</source>
        <translation>ロゴをビットマップとして、または登録用のプリンタコマンドのファイルとして保存します。</translation>
    </message>
    <message>
        <source>Opens the logo document in the editor.</source>
        <translation>ロゴ文書をエディタで開きます。</translation>
    </message>
    <message>
        <source>Stores the logo in the printer&apos;s memory under a key of two characters.</source>
        <translation>ロゴを2文字のキーでプリンタのメモリに登録します。</translation>
    </message>
    <message>
        <source>Shows the logo as it will print, dot for dot, with its size and ink rates.</source>
        <translation>印刷されるとおりのロゴを、サイズとインク使用率とともにドット単位で表示します。</translation>
    </message>
    <message>
        <source>Lists the logos stored in the printer, to print or delete them.</source>
        <translation>プリンタに登録されたロゴを一覧にし、印刷や削除を行います。</translation>
    </message>
    <message>
        <source>Prints the logo once, without storing it in the printer.</source>
        <translation>ロゴをプリンタに登録せずに1回印刷します。</translation>
    </message>
    <message>
        <source>Keeps the printer settings for next time and closes the program.</source>
        <translation>プリンタの設定を次回のために保存して終了します。</translation>
    </message>
    <message>
        <source>The picture or logo document to print. Type its path, or drop the file on the window.</source>
        <translation>印刷する画像またはロゴ文書。パスを入力するか、ファイルをウィンドウにドロップしてください。</translation>
    </message>
    <message>
        <source>Chooses a picture or logo document.</source>
        <translation>画像またはロゴ文書を選びます。</translation>
    </message>
    <message>
        <source>The picture as it was read.</source>
        <translation>読み込んだままの画像。</translation>
    </message>
    <message>
        <source>The logo as the printer will print it, in its inks.</source>
        <translation>プリンタが印刷するとおりのロゴ(プリンタのインクで表示)。</translation>
    </message>
    <message>
        <source>Scales the picture to the whole width of the paper.</source>
        <translation>画像を用紙の幅いっぱいに拡大・縮小します。</translation>
    </message>
    <message>
        <source>The item of the logo document to set: a picture or a text.</source>
        <translation>設定するロゴ文書の項目(画像または文字)。</translation>
    </message>
    <message>
        <source>Prints the picture in one ink only.</source>
        <translation>画像を1色のインクだけで印刷します。</translation>
    </message>
    <message>
        <source>The ink a monochrome picture prints in.</source>
        <translation>単色の画像を印刷するインク。</translation>
    </message>
    <message>
        <source>The text of the item, at most 40 bytes.</source>
        <translation>項目の文字(40バイトまで)。</translation>
    </message>
    <message>
        <source>The ink the text prints in.</source>
        <translation>文字を印刷するインク。</translation>
    </message>
    <message>
        <source>How shades become dots: Coarse gives each dot its ink by brightness, the finer grades scatter dots to show shades.</source>
        <translation>濃淡をドットにする方法: 「粗い」は明るさで各ドットのインクを決め、細かい段階ほどドットを散らして濃淡を表します。</translation>
    </message>
    <message>
        <source>How much the red of the picture counts toward its darkness (3 is neutral).</source>
        <translation>画像の赤が濃さにどれだけ効くか(3が標準)。</translation>
    </message>
    <message>
        <source>How much the green of the picture counts toward its darkness (3 is neutral).</source>
        <translation>画像の緑が濃さにどれだけ効くか(3が標準)。</translation>
    </message>
    <message>
        <source>How much the blue of the picture counts toward its darkness (3 is neutral).</source>
        <translation>画像の青が濃さにどれだけ効くか(3が標準)。</translation>
    </message>
    <message>
        <source>Each dot takes its ink from its color and brightness.</source>
        <translation>各ドットのインクを色と明るさから決めます。</translation>
    </message>
    <message>
        <source>You choose the ink of each brightness level with the sliders below.</source>
        <translation>明るさの段階ごとのインクを下のスライダーで選びます。</translation>
    </message>
    <message>
        <source>Two characters from space to tilde (~) that name the logo in the printer.</source>
        <translation>プリンタ内でロゴを指す2文字(空白からチルダ(~)まで)。</translation>
    </message>
    <message>
        <source>Registers the logo under this key; a key the printer already has is refused.</source>
        <translation>このキーでロゴを登録します。プリンタにすでにあるキーは使えません。</translation>
    </message>
    <message>
        <source>Closes the window without registering anything.</source>
        <translation>何も登録せずにウィンドウを閉じます。</translation>
    </message>
    <message>
        <source>The keys of the logos stored in the printer. Select the ones to print or delete.</source>
        <translation>プリンタに登録されたロゴのキー。印刷または削除するものを選んでください。</translation>
    </message>
    <message>
        <source>Asks the printer for the keys of the logos it stores.</source>
        <translation>登録されているロゴのキーをプリンタから取得します。</translation>
    </message>
    <message>
        <source>Selects every key in the list.</source>
        <translation>一覧のすべてのキーを選択します。</translation>
    </message>
    <message>
        <source>Clears the selection.</source>
        <translation>選択を解除します。</translation>
    </message>
    <message>
        <source>Prints the logos of the selected keys.</source>
        <translation>選択したキーのロゴを印刷します。</translation>
    </message>
    <message>
        <source>Deletes the logos of the selected keys from the printer, asking for each.</source>
        <translation>選択したキーのロゴを、1つずつ確認しながらプリンタから削除します。</translation>
    </message>
    <message>
        <source>Closes the window.</source>
        <translation>ウィンドウを閉じます。</translation>
    </message>
</context>
<context>
    <name>Ports</name>
    <message>
        <source>Inquiry</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Printer is busy. Would you retry?</source>
        <translation>プリンタがビジーです。再試行しますか?</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>フォルダ</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>ドライブ</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>不明</translation>
    </message>
</context>
</TS>
