<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ">
<context>
    <name>AboutWidget</name>
    <message>
        <source>About</source>
        <translation>O programu</translation>
    </message>
    <message>
        <source>Quelmora</source>
        <translation>Quelmora</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Verze:</translation>
    </message>
    <message>
        <source>Build number:</source>
        <translation>Číslo sestavení:</translation>
    </message>
    <message>
        <source>Built on:</source>
        <translation>Sestaveno:</translation>
    </message>
</context>
<context>
    <name>AnalysisFeatures</name>
    <message>
        <source>Approximation error</source>
        <translation>Chyba aproximace</translation>
    </message>
    <message>
        <source>Show &amp;approximation error</source>
        <translation>Zobrazit &amp;chybu aproximace</translation>
    </message>
    <message>
        <source>&amp;Analysis</source>
        <translation>&amp;Analýza</translation>
    </message>
    <message>
        <source>&amp;Convergence...</source>
        <translation>&amp;Konvergence...</translation>
    </message>
</context>
<context>
    <name>AppConstants</name>
    <message>
        <source>Excel CSV (*.csv)</source>
        <translation>Excel CSV (*.csv)</translation>
    </message>
    <message>
        <source>Simple txt: two columns, can have text in header (*.txt)</source>
        <translation>Prostý text: dva sloupce, v záhlaví může být text (*.txt)</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>Obrázek PNG (*.png)</translation>
    </message>
    <message>
        <source>%1 session (*.qms)</source>
        <translation>Relace %1 (*.qms)</translation>
    </message>
</context>
<context>
    <name>ColorLabel</name>
    <message>
        <source>Chooses the colour: click, or press Space or Enter</source>
        <translation>Zvolí barvu: klikněte, nebo stiskněte mezerník či Enter</translation>
    </message>
</context>
<context>
    <name>ConfigWidgetBase</name>
    <message>
        <source>inputs</source>
        <translation>vstupy</translation>
    </message>
</context>
<context>
    <name>ConvergenceDialog</name>
    <message>
        <source>Convergence</source>
        <translation>Konvergence</translation>
    </message>
    <message>
        <source>Component counts:</source>
        <translation>Počty komponent:</translation>
    </message>
    <message>
        <source>Ascending component counts separated by commas, each from 2 to the number of subintervals of the domain</source>
        <translation>Vzestupné počty komponent oddělené čárkami, každý od 2 do počtu podintervalů definičního oboru</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Výchozí</translation>
    </message>
    <message>
        <source>Twelve counts in geometric progression from 4 to the largest count whose basic functions each cover at least 8 points of the domain</source>
        <translation>Dvanáct počtů v geometrické posloupnosti od 4 do největšího počtu, jehož bázové funkce pokrývají každá alespoň 8 bodů definičního oboru</translation>
    </message>
    <message>
        <source>Points per basic function</source>
        <translation>Bodů na bázovou funkci</translation>
    </message>
    <message>
        <source>Computes each count whose basic functions would cover fewer points on a finer discretisation of the domain, the formulas evaluated there, so that the study measures the approximation, not the sampling</source>
        <translation>Každý počet, jehož bázové funkce by pokrývaly méně bodů, spočítá na jemnější diskretizaci definičního oboru a vzorce vyhodnotí tam, aby studie měřila aproximaci, ne vzorkování</translation>
    </message>
    <message>
        <source>Subintervals per node distance at least: the basic functions at the ends cover this many points</source>
        <translation>Nejmenší počet podintervalů na vzdálenost uzlů: tolik bodů pokrývají bázové funkce na okrajích</translation>
    </message>
    <message>
        <source>Computes the study for the counts above</source>
        <translation>Spočítá studii pro uvedené počty</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Spustit</translation>
    </message>
    <message>
        <source>Stops the study</source>
        <translation>Zastaví studii</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>The errors for every count, function and degree; grey rows are under-resolved</source>
        <translation>Chyby pro každý počet, funkci a stupeň; šedé řádky jsou nedostatečně rozlišené</translation>
    </message>
    <message>
        <source>Plot of:</source>
        <translation>Graf pro:</translation>
    </message>
    <message>
        <source>The function whose errors the plot shows</source>
        <translation>Funkce, jejíž chyby graf ukazuje</translation>
    </message>
    <message>
        <source>Writes the table and, beside it, the orders as semicolon-separated files</source>
        <translation>Zapíše tabulku a vedle ní řády jako soubory oddělené středníky</translation>
    </message>
    <message>
        <source>Export table...</source>
        <translation>Exportovat tabulku...</translation>
    </message>
    <message>
        <source>Saves the plot as a PNG picture</source>
        <translation>Uloží graf jako obrázek PNG</translation>
    </message>
    <message>
        <source>Export plot...</source>
        <translation>Exportovat graf...</translation>
    </message>
    <message>
        <source>Closes the window and stops a running study</source>
        <translation>Zavře okno a zastaví běžící studii</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zavřít</translation>
    </message>
    <message>
        <source>Components</source>
        <translation>Komponenty</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Funkce</translation>
    </message>
    <message>
        <source>Degree</source>
        <translation>Stupeň</translation>
    </message>
    <message>
        <source>MaxAbs</source>
        <translation>MaxAbs</translation>
    </message>
    <message>
        <source>RMSE</source>
        <translation>RMSE</translation>
    </message>
    <message>
        <source>ArgMax</source>
        <translation>ArgMax</translation>
    </message>
    <message>
        <source>Subintervals</source>
        <translation>Podintervaly</translation>
    </message>
    <message>
        <source>Fewest points</source>
        <translation>Nejméně bodů</translation>
    </message>
    <message>
        <source>Under-resolved</source>
        <translation>Nedostatečně rozlišeno</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Chyba</translation>
    </message>
    <message>
        <source>No partition is in use.</source>
        <translation>Není použit žádný rozklad.</translation>
    </message>
    <message>
        <source>The domain has fewer than two subintervals.</source>
        <translation>Definiční obor má méně než dva podintervaly.</translation>
    </message>
    <message>
        <source>This shape cannot be transformed: the F-transform needs basic functions with a one-point kernel.</source>
        <translation>Tento tvar nelze transformovat: F-transformace potřebuje bázové funkce s jednobodovým jádrem.</translation>
    </message>
    <message>
        <source>Ruspini partitions of %1 on N equidistant nodes</source>
        <translation>Ruspiniho rozklady (%1) na N ekvidistantních uzlech</translation>
    </message>
    <message>
        <source>The custom partition has no usable node distance.</source>
        <translation>Vlastní rozklad nemá použitelnou vzdálenost uzlů.</translation>
    </message>
    <message>
        <source>custom partitions of %1 on N equidistant nodes, the variance %2 times the node distance</source>
        <translation>vlastní rozklady (%1) na N ekvidistantních uzlech, rozptyl %2násobek vzdálenosti uzlů</translation>
    </message>
    <message>
        <source>Function %1</source>
        <translation>Funkce %1</translation>
    </message>
    <message>
        <source>There is no function to study.</source>
        <translation>Není žádná funkce ke studii.</translation>
    </message>
    <message>
        <source>degree 0</source>
        <translation>stupeň 0</translation>
    </message>
    <message>
        <source>degrees 0 to %1 (closed-form bases)</source>
        <translation>stupně 0 až %1 (báze v uzavřeném tvaru)</translation>
    </message>
    <message>
        <source>degrees 0 to %1</source>
        <translation>stupně 0 až %1</translation>
    </message>
    <message>
        <source>%1: %2, %3, on %4 points from %5 to %6.</source>
        <translation>%1: %2, %3, na %4 bodech od %5 do %6.</translation>
    </message>
    <message>
        <source>Points per basic function evaluates formulas on a finer discretisation: %1 is data or draws random numbers.</source>
        <translation>Volba Bodů na bázovou funkci vyhodnocuje vzorce na jemnější diskretizaci: %1 jsou data nebo losuje náhodná čísla.</translation>
    </message>
    <message>
        <source>Counts whose basic functions would cover fewer than %1 points are computed on a finer discretisation.</source>
        <translation>Počty, jejichž bázové funkce by pokrývaly méně než %1 bodů, se počítají na jemnější diskretizaci.</translation>
    </message>
    <message>
        <source>Points per basic function: %1.</source>
        <translation>Bodů na bázovou funkci: %1.</translation>
    </message>
    <message>
        <source>On this domain no count gives basic functions of %1 points or more: give counts, or turn on points per basic function.</source>
        <translation>Na tomto definičním oboru žádný počet nedává bázové funkce o %1 nebo více bodech: zadejte počty, nebo zapněte Bodů na bázovou funkci.</translation>
    </message>
    <message>
        <source>Ascending component counts separated by commas, each from 2 to the number of subintervals of the domain (or more with points per basic function)</source>
        <translation>Vzestupné počty komponent oddělené čárkami, každý od 2 do počtu podintervalů definičního oboru (s volbou Bodů na bázovou funkci i více)</translation>
    </message>
    <message>
        <source>Cancelled: the functions, the partition, the degree or the domain changed. Run studies the new inputs.</source>
        <translation>Zrušeno: změnily se funkce, rozklad, stupeň nebo definiční obor. Spustit prostuduje nové vstupy.</translation>
    </message>
    <message>
        <source>The inputs changed since these results were computed; Run studies the new inputs.</source>
        <translation>Vstupy se od výpočtu těchto výsledků změnily; Spustit prostuduje nové vstupy.</translation>
    </message>
    <message>
        <source>Component counts: %1</source>
        <translation>Počty komponent: %1</translation>
    </message>
    <message>
        <source>Give at least one component count.</source>
        <translation>Zadejte alespoň jeden počet komponent.</translation>
    </message>
    <message>
        <source>Computing %1 counts...</source>
        <translation>Počítá se %1 počtů komponent...</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 counts.</source>
        <translation>Zrušeno po %1 z %2 počtů.</translation>
    </message>
    <message>
        <source>Under-resolved: a basic function covers only %1 points (fewer than %2); left out of the orders</source>
        <translation>Nedostatečně rozlišeno: bázová funkce pokrývá jen %1 bodů (méně než %2); vynecháno z řádů</translation>
    </message>
    <message>
        <source>, %1 of them under-resolved (basic functions of fewer than %2 points) and left out of the orders.</source>
        <translation>, z toho %1 nedostatečně rozlišených (bázové funkce o méně než %2 bodech) a vynechaných z řádů.</translation>
    </message>
    <message>
        <source>Done: %1 counts</source>
        <translation>Hotovo: %1 počtů</translation>
    </message>
    <message>
        <source>Stopped after %1 of %2 counts: %3</source>
        <translation>Zastaveno po %1 z %2 počtů: %3</translation>
    </message>
    <message>
        <source>n/a</source>
        <translation>n/d</translation>
    </message>
    <message>
        <source>%1 (N %2-%3)</source>
        <translation>%1 (N %2–%3)</translation>
    </message>
    <message>
        <source>Ft%1 %2, order %3</source>
        <translation>Ft%1 %2, řád %3</translation>
    </message>
    <message>
        <source>, under-resolved</source>
        <translation>, nedostatečně rozlišeno</translation>
    </message>
    <message>
        <source>Export convergence table</source>
        <translation>Export tabulky konvergence</translation>
    </message>
    <message>
        <source>Export convergence plot</source>
        <translation>Export grafu konvergence</translation>
    </message>
    <message>
        <source>Convergence plot</source>
        <translation>Graf konvergence</translation>
    </message>
    <message>
        <source>The error of each degree against the component count, on logarithmic axes</source>
        <translation>Chyba každého stupně v závislosti na počtu komponent, v logaritmických osách</translation>
    </message>
</context>
<context>
    <name>ConvergenceRunner</name>
    <message>
        <source>not enough memory for %1 components</source>
        <translation>nedostatek paměti pro %1 komponent</translation>
    </message>
</context>
<context>
    <name>CsvDialog</name>
    <message>
        <source>Import data setting</source>
        <translation>Nastavení importu dat</translation>
    </message>
    <message>
        <source>Kept with the session; the reader takes a decimal point or a decimal comma alike</source>
        <translation>Ukládá se s relací; čtení přijme desetinnou tečku i desetinnou čárku</translation>
    </message>
    <message>
        <source>Decimal separator</source>
        <translation>Oddělovač desetinných míst</translation>
    </message>
    <message>
        <source>The decimal mark of the system&apos;s language</source>
        <translation>Desetinný oddělovač podle jazyka systému</translation>
    </message>
    <message>
        <source>System (locale setting)</source>
        <translation>Systém (národní nastavení)</translation>
    </message>
    <message>
        <source>A decimal point</source>
        <translation>Desetinná tečka</translation>
    </message>
    <message>
        <source>Dot</source>
        <translation>Tečka</translation>
    </message>
    <message>
        <source>A decimal comma</source>
        <translation>Desetinná čárka</translation>
    </message>
    <message>
        <source>Comma</source>
        <translation>Čárka</translation>
    </message>
    <message>
        <source>Separator options</source>
        <translation>Oddělovač hodnot</translation>
    </message>
    <message>
        <source>Values separated by semicolons</source>
        <translation>Hodnoty oddělené středníky</translation>
    </message>
    <message>
        <source>Semicolon</source>
        <translation>Středník</translation>
    </message>
    <message>
        <source>Values separated by commas</source>
        <translation>Hodnoty oddělené čárkami</translation>
    </message>
    <message>
        <source>Values separated by spaces or tabs</source>
        <translation>Hodnoty oddělené mezerami nebo tabulátory</translation>
    </message>
    <message>
        <source>White space</source>
        <translation>Bílé znaky</translation>
    </message>
</context>
<context>
    <name>CsvNumberReader</name>
    <message>
        <source>a line holds more than %1 cells</source>
        <translation>řádek obsahuje více než %1 buněk</translation>
    </message>
    <message>
        <source>the file holds more than %1 numbers</source>
        <translation>soubor obsahuje více než %1 čísel</translation>
    </message>
    <message>
        <source>the quoted field that begins on line %1 runs on for more than %2 MB</source>
        <translation>pole v uvozovkách začínající na řádku %1 pokračuje přes více než %2 MB</translation>
    </message>
    <message>
        <source>the quote that opens a field on line %1 is never closed</source>
        <translation>uvozovka otevírající pole na řádku %1 se nikde neuzavírá</translation>
    </message>
</context>
<context>
    <name>DataFileOpenDialog</name>
    <message>
        <source>File contains data for X axis</source>
        <translation>Soubor obsahuje data pro osu X</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Otevřít soubor</translation>
    </message>
    <message>
        <source>One column of the file holds the x values; else the rows are numbered</source>
        <translation>Jeden sloupec souboru obsahuje hodnoty x; jinak se řádky očíslují</translation>
    </message>
    <message>
        <source>Column of the x values</source>
        <translation>Sloupec hodnot x</translation>
    </message>
    <message>
        <source>The column of the x values, counted from 0</source>
        <translation>Sloupec hodnot x, počítáno od 0</translation>
    </message>
</context>
<context>
    <name>DataImport</name>
    <message>
        <source>File parser</source>
        <translation>Čtení souboru</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: only files with the suffix &quot;csv&quot; or &quot;txt&quot; can be read.</source>
        <translation>Soubor „%1“ nelze přečíst: číst lze jen soubory s příponou „csv“ nebo „txt“.</translation>
    </message>
    <message>
        <source>Cannot open &quot;%1&quot;: %2.</source>
        <translation>Soubor „%1“ nelze otevřít: %2.</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: %2.</source>
        <translation>Soubor „%1“ nelze přečíst: %2.</translation>
    </message>
    <message>
        <source>Could not detect number of columns in file.</source>
        <translation>Počet sloupců v souboru se nepodařilo zjistit.</translation>
    </message>
    <message>
        <source>Data file is empty or error occurred while reading file.</source>
        <translation>Datový soubor je prázdný nebo při jeho čtení došlo k chybě.</translation>
    </message>
    <message>
        <source>Data was not parsed correctly or file is empty.</source>
        <translation>Data se nepodařilo správně přečíst nebo je soubor prázdný.</translation>
    </message>
    <message>
        <source>Ignoring %1 %2 that could not be read from file or contains a text.</source>
        <translation>Vynechané %2, které nešlo ze souboru přečíst nebo obsahují text: %1.</translation>
    </message>
    <message>
        <source>line</source>
        <translation>řádky</translation>
    </message>
    <message>
        <source>lines</source>
        <translation>řádky</translation>
    </message>
    <message>
        <source>Ignoring column %1 (text).</source>
        <translation>Vynechává se sloupec %1 (text).</translation>
    </message>
    <message>
        <source>Ignoring columns %1 (text).</source>
        <translation>Vynechávají se sloupce %1 (text).</translation>
    </message>
    <message>
        <source>Column %1 holds text, not numbers: the rows are numbered for X instead.</source>
        <translation>Sloupec %1 obsahuje text, ne čísla: hodnotami X budou místo něj pořadová čísla řádků.</translation>
    </message>
    <message>
        <source>Input data</source>
        <translation>Vstupní data</translation>
    </message>
    <message>
        <source>Invalid column selected for X axis - data is not sorted.</source>
        <translation>Pro osu X je zvolen nevhodný sloupec – data nejsou seřazená.</translation>
    </message>
    <message>
        <source>Invalid column selected for X axis - all its values are equal, so it spans no interval.</source>
        <translation>Pro osu X je zvolen nevhodný sloupec – všechny jeho hodnoty jsou stejné, takže nevymezují žádný interval.</translation>
    </message>
    <message>
        <source>Invalid column selected for X axis - its values span a range too large to compute with.</source>
        <translation>Pro osu X je zvolen nevhodný sloupec – jeho hodnoty pokrývají rozsah příliš velký pro výpočet.</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: the file holds more than %2 rows.</source>
        <translation>Soubor „%1“ nelze přečíst: obsahuje více než %2 řádků.</translation>
    </message>
</context>
<context>
    <name>DialogBase</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
</context>
<context>
    <name>DocumentView</name>
    <message>
        <source>Unknown name</source>
        <translation>Neznámý název</translation>
    </message>
</context>
<context>
    <name>DomainWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulář</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Dolní mez</translation>
    </message>
    <message>
        <source>Lower end of the interval, a number with a decimal point</source>
        <translation>Dolní konec intervalu, číslo s desetinnou tečkou</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Horní mez</translation>
    </message>
    <message>
        <source>Upper end of the interval, a number with a decimal point</source>
        <translation>Horní konec intervalu, číslo s desetinnou tečkou</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Discretization</source>
        <translation>Diskretizace</translation>
    </message>
    <message>
        <source>Number of subintervals in domain. Recommended value is in the form 2^n.</source>
        <translation>Počet podintervalů definičního oboru. Doporučená hodnota má tvar 2^n.</translation>
    </message>
    <message>
        <source>2048</source>
        <translation>2048</translation>
    </message>
    <message>
        <source>Low and High (Low must be less than High)</source>
        <translation>Dolní a horní mez (dolní musí být menší než horní)</translation>
    </message>
    <message>
        <source>Discretization (%1 to %2)</source>
        <translation>Diskretizace (%1 až %2)</translation>
    </message>
</context>
<context>
    <name>EditHistory</name>
    <message>
        <source>Undo history</source>
        <translation>Historie úprav</translation>
    </message>
    <message>
        <source>Session as opened</source>
        <translation>Relace při otevření</translation>
    </message>
    <message>
        <source>Show &amp;undo history</source>
        <translation>Zobrazit &amp;historii úprav</translation>
    </message>
    <message>
        <source>The edits of the session; choosing one goes back to it</source>
        <translation>Úpravy relace; volbou některé se k ní vrátíte</translation>
    </message>
</context>
<context>
    <name>EditStep</name>
    <message>
        <source>generic (Ruspini)</source>
        <translation>obecný (Ruspiniho)</translation>
    </message>
    <message>
        <source>equidistant (Ruspini)</source>
        <translation>ekvidistantní (Ruspiniho)</translation>
    </message>
    <message>
        <source>custom</source>
        <translation>vlastní</translation>
    </message>
    <message>
        <source>none</source>
        <translation>žádný</translation>
    </message>
    <message>
        <source>Add node</source>
        <translation>Přidat uzel</translation>
    </message>
    <message>
        <source>Remove node</source>
        <translation>Odebrat uzel</translation>
    </message>
    <message>
        <source>Move nodes</source>
        <translation>Posunout uzly</translation>
    </message>
    <message>
        <source>Move node %1</source>
        <translation>Posunout uzel %1</translation>
    </message>
    <message>
        <source>Change nodes</source>
        <translation>Změnit uzly</translation>
    </message>
    <message>
        <source>Change shape</source>
        <translation>Změnit tvar</translation>
    </message>
    <message>
        <source>Change component count</source>
        <translation>Změnit počet komponent</translation>
    </message>
    <message>
        <source>Change nodes distance</source>
        <translation>Změnit vzdálenost uzlů</translation>
    </message>
    <message>
        <source>Change element width</source>
        <translation>Změnit šířku prvku</translation>
    </message>
    <message>
        <source>Change variance</source>
        <translation>Změnit rozptyl</translation>
    </message>
    <message>
        <source>Move fixed point</source>
        <translation>Posunout pevný bod</translation>
    </message>
    <message>
        <source>Change offset</source>
        <translation>Změnit posun</translation>
    </message>
    <message>
        <source>Change shift</source>
        <translation>Změnit krok</translation>
    </message>
    <message>
        <source>Close data</source>
        <translation>Zavřít data</translation>
    </message>
    <message>
        <source>Random data</source>
        <translation>Náhodná data</translation>
    </message>
    <message>
        <source>Open data %1</source>
        <translation>Otevřít data %1</translation>
    </message>
    <message>
        <source>Change domain</source>
        <translation>Změnit definiční obor</translation>
    </message>
    <message>
        <source>Change domain low end</source>
        <translation>Změnit dolní mez definičního oboru</translation>
    </message>
    <message>
        <source>Change domain high end</source>
        <translation>Změnit horní mez definičního oboru</translation>
    </message>
    <message>
        <source>Change discretization</source>
        <translation>Změnit diskretizaci</translation>
    </message>
    <message>
        <source>Add function</source>
        <translation>Přidat funkci</translation>
    </message>
    <message>
        <source>Remove function %1</source>
        <translation>Odebrat funkci %1</translation>
    </message>
    <message>
        <source>Change function %1 to %2</source>
        <translation>Změnit funkci %1 na %2</translation>
    </message>
    <message>
        <source>Change degree</source>
        <translation>Změnit stupeň</translation>
    </message>
    <message>
        <source>Show Ft-%1</source>
        <translation>Zobrazit Ft-%1</translation>
    </message>
    <message>
        <source>Hide Ft-%1</source>
        <translation>Skrýt Ft-%1</translation>
    </message>
    <message>
        <source>Change shown degrees</source>
        <translation>Změnit zobrazené stupně</translation>
    </message>
    <message>
        <source>Reset edited components</source>
        <translation>Obnovit upravené komponenty</translation>
    </message>
    <message>
        <source>Edit component %1</source>
        <translation>Upravit komponentu %1</translation>
    </message>
    <message>
        <source>Edit components</source>
        <translation>Upravit komponenty</translation>
    </message>
    <message>
        <source>Change partition to %1</source>
        <translation>Změnit rozklad na %1</translation>
    </message>
    <message>
        <source>Change partition</source>
        <translation>Změnit rozklad</translation>
    </message>
    <message>
        <source>Change higher-degree bases</source>
        <translation>Změnit báze vyšších stupňů</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Změna</translation>
    </message>
</context>
<context>
    <name>ErrorCurves</name>
    <message>
        <source>Error</source>
        <translation>Chyba</translation>
    </message>
</context>
<context>
    <name>ErrorTableModel</name>
    <message>
        <source>Function</source>
        <translation>Funkce</translation>
    </message>
    <message>
        <source>Degree</source>
        <translation>Stupeň</translation>
    </message>
    <message>
        <source>MaxAbs</source>
        <translation>MaxAbs</translation>
    </message>
    <message>
        <source>RMSE</source>
        <translation>RMSE</translation>
    </message>
    <message>
        <source>ArgMax</source>
        <translation>ArgMax</translation>
    </message>
    <message>
        <source>The function f</source>
        <translation>Funkce f</translation>
    </message>
    <message>
        <source>Degree d of the inverse F-transform F_d</source>
        <translation>Stupeň d inverzní F-transformace F_d</translation>
    </message>
    <message>
        <source>Largest |f(x) - F_d(x)| over the points where both are finite</source>
        <translation>Největší |f(x) - F_d(x)| přes body, kde jsou obě konečné</translation>
    </message>
    <message>
        <source>Root mean square of f(x) - F_d(x) over the same points</source>
        <translation>Odmocnina průměru čtverců f(x) - F_d(x) přes tytéž body</translation>
    </message>
    <message>
        <source>The first point x where |f(x) - F_d(x)| is largest</source>
        <translation>První bod x, kde je |f(x) - F_d(x)| největší</translation>
    </message>
    <message>
        <source>Function %1</source>
        <translation>Funkce %1</translation>
    </message>
</context>
<context>
    <name>ErrorTableWidget</name>
    <message>
        <source>Approximation error</source>
        <translation>Chyba aproximace</translation>
    </message>
    <message>
        <source>MaxAbs, RMSE and ArgMax of f - F_d for every function and shown degree</source>
        <translation>MaxAbs, RMSE a ArgMax rozdílu f - F_d pro každou funkci a zobrazený stupeň</translation>
    </message>
</context>
<context>
    <name>ExportWidget</name>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Path: </source>
        <translation>Cesta: </translation>
    </message>
    <message>
        <source>The folder the file goes to; choose it with ...</source>
        <translation>Složka, do které se soubor uloží; zvolte ji tlačítkem ...</translation>
    </message>
    <message>
        <source>Chooses the file</source>
        <translation>Zvolí soubor</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>File name:</source>
        <translation>Název souboru:</translation>
    </message>
    <message>
        <source>The file&apos;s suffix</source>
        <translation>Přípona souboru</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#800000;&quot;&gt;File exists&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#800000;&quot;&gt;Soubor existuje&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>A first column &quot;Domain&quot; with the x values</source>
        <translation>První sloupec „Domain“ s hodnotami x</translation>
    </message>
    <message>
        <source>Domain values</source>
        <translation>Hodnoty definičního oboru</translation>
    </message>
    <message>
        <source>The values of each function</source>
        <translation>Hodnoty každé funkce</translation>
    </message>
    <message>
        <source>Original function</source>
        <translation>Původní funkce</translation>
    </message>
    <message>
        <source>The components of every shown degree</source>
        <translation>Komponenty každého zobrazeného stupně</translation>
    </message>
    <message>
        <source>FTransform coefficients</source>
        <translation>Komponenty F-transformace</translation>
    </message>
    <message>
        <source>Nodes</source>
        <translation>Uzly</translation>
    </message>
    <message>
        <source>A &quot;Nodes&quot; column before the coefficients: the places of the components, whose rows follow the nodes, not the domain column</source>
        <translation>Sloupec „Nodes“ před komponentami: polohy komponent, jejichž řádky odpovídají uzlům, ne sloupci definičního oboru</translation>
    </message>
    <message>
        <source>The inverse F-transforms of the shown degrees</source>
        <translation>Inverzní F-transformace zobrazených stupňů</translation>
    </message>
    <message>
        <source>Inverse ftransform</source>
        <translation>Inverzní F-transformace</translation>
    </message>
    <message>
        <source>Significant digits:</source>
        <translation>Platné číslice:</translation>
    </message>
    <message>
        <source>Digits of every written number; 6 is the usual format, 17 writes every double exactly</source>
        <translation>Počet číslic každého zapsaného čísla; 6 je obvyklý formát, 17 zapíše každé číslo typu double přesně</translation>
    </message>
    <message>
        <source>Setup the size for the exported picture</source>
        <translation>Nastavte velikost exportovaného obrázku</translation>
    </message>
    <message>
        <source>Width of the picture in pixels</source>
        <translation>Šířka obrázku v pixelech</translation>
    </message>
    <message>
        <source> pix</source>
        <translation> px</translation>
    </message>
    <message>
        <source>x</source>
        <translation>x</translation>
    </message>
    <message>
        <source>Height of the picture in pixels</source>
        <translation>Výška obrázku v pixelech</translation>
    </message>
    <message>
        <source>Keep aspect ratio</source>
        <translation>Zachovat poměr stran</translation>
    </message>
    <message>
        <source>Puts the plot&apos;s current size back</source>
        <translation>Vrátí současnou velikost grafu</translation>
    </message>
    <message>
        <source>Set current size</source>
        <translation>Nastavit současnou velikost</translation>
    </message>
    <message>
        <source>Current size: </source>
        <translation>Současná velikost: </translation>
    </message>
    <message>
        <source>Following regular expression is validated:
</source>
        <translation>Kontroluje se tento regulární výraz:
</translation>
    </message>
    <message>
        <source>Select file name</source>
        <translation>Zvolte název souboru</translation>
    </message>
</context>
<context>
    <name>FigureExportWidget</name>
    <message>
        <source>Export figure</source>
        <translation>Export obrázku</translation>
    </message>
    <message>
        <source>Path: </source>
        <translation>Cesta: </translation>
    </message>
    <message>
        <source>The folder the file goes to; choose it with ...</source>
        <translation>Složka, do které se soubor uloží; zvolte ji tlačítkem ...</translation>
    </message>
    <message>
        <source>Chooses the file</source>
        <translation>Zvolí soubor</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>File name:</source>
        <translation>Název souboru:</translation>
    </message>
    <message>
        <source>The file&apos;s format: PNG picture, SVG or PDF drawing</source>
        <translation>Formát souboru: obrázek PNG, kresba SVG nebo PDF</translation>
    </message>
    <message>
        <source>png</source>
        <translation>png</translation>
    </message>
    <message>
        <source>svg</source>
        <translation>svg</translation>
    </message>
    <message>
        <source>pdf</source>
        <translation>pdf</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#800000;&quot;&gt;File exists&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#800000;&quot;&gt;Soubor existuje&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Size of the figure</source>
        <translation>Velikost obrázku</translation>
    </message>
    <message>
        <source>Width of the figure in millimetres</source>
        <translation>Šířka obrázku v milimetrech</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>x</source>
        <translation>x</translation>
    </message>
    <message>
        <source>Height of the figure in millimetres</source>
        <translation>Výška obrázku v milimetrech</translation>
    </message>
    <message>
        <source>Resolution of a PNG:</source>
        <translation>Rozlišení PNG:</translation>
    </message>
    <message>
        <source>Dots per inch of a PNG figure</source>
        <translation>Počet bodů na palec obrázku PNG</translation>
    </message>
    <message>
        <source> dpi</source>
        <translation> dpi</translation>
    </message>
    <message>
        <source>Include the partition plot</source>
        <translation>Přidat graf rozkladu</translation>
    </message>
    <message>
        <source>Stacks the partition plot under the main plot, on the same x range</source>
        <translation>Umístí graf rozkladu pod hlavní graf se stejným rozsahem x</translation>
    </message>
    <message>
        <source>Legend, titles and colours</source>
        <translation>Legenda, popisky a barvy</translation>
    </message>
    <message>
        <source>Legend:</source>
        <translation>Legenda:</translation>
    </message>
    <message>
        <source>Where the legend goes; outside the plot it covers no data</source>
        <translation>Kam se umístí legenda; mimo graf nezakrývá žádná data</translation>
    </message>
    <message>
        <source>As in the window</source>
        <translation>Jako v okně</translation>
    </message>
    <message>
        <source>Top left</source>
        <translation>Vlevo nahoře</translation>
    </message>
    <message>
        <source>Top right</source>
        <translation>Vpravo nahoře</translation>
    </message>
    <message>
        <source>Bottom left</source>
        <translation>Vlevo dole</translation>
    </message>
    <message>
        <source>Bottom right</source>
        <translation>Vpravo dole</translation>
    </message>
    <message>
        <source>Outside right</source>
        <translation>Vně vpravo</translation>
    </message>
    <message>
        <source>Below</source>
        <translation>Pod grafem</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Žádná</translation>
    </message>
    <message>
        <source>x axis title:</source>
        <translation>Popisek osy x:</translation>
    </message>
    <message>
        <source>Title under the x axis; empty for none</source>
        <translation>Popisek pod osou x; prázdný pro žádný</translation>
    </message>
    <message>
        <source>none</source>
        <translation>žádný</translation>
    </message>
    <message>
        <source>y axis title:</source>
        <translation>Popisek osy y:</translation>
    </message>
    <message>
        <source>Title beside the y axis; empty for none</source>
        <translation>Popisek vedle osy y; prázdný pro žádný</translation>
    </message>
    <message>
        <source>Colours:</source>
        <translation>Barvy:</translation>
    </message>
    <message>
        <source>Each function its own hue, its degrees told apart by shades or by dash patterns</source>
        <translation>Každá funkce svůj odstín, její stupně rozlišené sytostí nebo čárkováním</translation>
    </message>
    <message>
        <source>A hue per function, degrees as shades</source>
        <translation>Odstín pro funkci, stupně sytostí</translation>
    </message>
    <message>
        <source>A hue per function, degrees as dash patterns</source>
        <translation>Odstín pro funkci, stupně čárkováním</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>Obrázek PNG (*.png)</translation>
    </message>
    <message>
        <source>SVG drawing (*.svg)</source>
        <translation>Kresba SVG (*.svg)</translation>
    </message>
    <message>
        <source>PDF document (*.pdf)</source>
        <translation>Dokument PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Following regular expression is validated:
</source>
        <translation>Kontroluje se tento regulární výraz:
</translation>
    </message>
    <message>
        <source>(a drawing: sharp at any size)</source>
        <translation>(kresba: ostrá v jakékoli velikosti)</translation>
    </message>
    <message>
        <source>%1 x %2 pixels</source>
        <translation>%1 × %2 pixelů</translation>
    </message>
    <message>
        <source>Too large: %1</source>
        <translation>Příliš velký: %1</translation>
    </message>
    <message>
        <source>Select file name</source>
        <translation>Zvolte název souboru</translation>
    </message>
</context>
<context>
    <name>FormulaBuilderHelp</name>
    <message>
        <source>Formula Builder Help</source>
        <translation>Nápověda k editoru vzorců</translation>
    </message>
    <message>
        <source>sine, cosine, tangent (argument in radians)</source>
        <translation>sinus, kosinus, tangens (argument v radiánech)</translation>
    </message>
    <message>
        <source>arc sine, arc cosine, arc tangent</source>
        <translation>arkus sinus, arkus kosinus, arkus tangens</translation>
    </message>
    <message>
        <source>arc tangent of y / x with y given first, in the quadrant of the point (x, y)</source>
        <translation>arkus tangens y / x, y se zadává první, v kvadrantu bodu (x, y)</translation>
    </message>
    <message>
        <source>hyperbolic sine, cosine, tangent</source>
        <translation>hyperbolický sinus, kosinus, tangens</translation>
    </message>
    <message>
        <source>inverse hyperbolic sine, cosine, tangent</source>
        <translation>inverzní hyperbolický sinus, kosinus, tangens</translation>
    </message>
    <message>
        <source>logarithm to base 2</source>
        <translation>logaritmus o základu 2</translation>
    </message>
    <message>
        <source>logarithm to base 10</source>
        <translation>logaritmus o základu 10</translation>
    </message>
    <message>
        <source>logarithm to base e (natural logarithm); log is the same as ln</source>
        <translation>logaritmus o základu e (přirozený logaritmus); log je totéž co ln</translation>
    </message>
    <message>
        <source>e raised to the power of x</source>
        <translation>e umocněné na x</translation>
    </message>
    <message>
        <source>square root</source>
        <translation>druhá odmocnina</translation>
    </message>
    <message>
        <source>-1 for x &lt; 0, 0 for x = 0, 1 for x &gt; 0</source>
        <translation>-1 pro x &lt; 0, 0 pro x = 0, 1 pro x &gt; 0</translation>
    </message>
    <message>
        <source>round to nearest integer, halves upwards: rint(2.5) = 3, rint(-2.5) = -2</source>
        <translation>zaokrouhlení na nejbližší celé číslo, poloviny nahoru: rint(2.5) = 3, rint(-2.5) = -2</translation>
    </message>
    <message>
        <source>absolute value</source>
        <translation>absolutní hodnota</translation>
    </message>
    <message>
        <source>variable, at least 1</source>
        <translation>proměnný, alespoň 1</translation>
    </message>
    <message>
        <source>minimum, maximum, sum, mean of all arguments</source>
        <translation>minimum, maximum, součet, průměr všech argumentů</translation>
    </message>
    <message>
        <source>random number in the range [a, b), a given first, uniformly distributed</source>
        <translation>náhodné číslo v rozsahu [a, b), a se zadává první, rovnoměrně rozdělené</translation>
    </message>
    <message>
        <source>random number from the normal distribution with the mean given first and the standard deviation given second</source>
        <translation>náhodné číslo z normálního rozdělení, nejprve střední hodnota, potom směrodatná odchylka</translation>
    </message>
    <message>
        <source>assignment (only applicable to variables)</source>
        <translation>přiřazení (jen pro proměnné)</translation>
    </message>
    <message>
        <source>logical or</source>
        <translation>logické nebo</translation>
    </message>
    <message>
        <source>logical and</source>
        <translation>logické a</translation>
    </message>
    <message>
        <source>comparisons, giving 1 for true and 0 for false</source>
        <translation>porovnání, dávají 1 pro pravdu a 0 pro nepravdu</translation>
    </message>
    <message>
        <source>addition, subtraction</source>
        <translation>sčítání, odčítání</translation>
    </message>
    <message>
        <source>multiplication, division</source>
        <translation>násobení, dělení</translation>
    </message>
    <message>
        <source>raise x to the power of y, grouped from the right: 2^3^2 = 2^9</source>
        <translation>umocnění x na y, sdružuje se zprava: 2^3^2 = 2^9</translation>
    </message>
    <message>
        <source>if-then-else, with the usual conditional syntax: x &lt; 0.5 ? 0 : 1</source>
        <translation>když-pak-jinak, obvyklým podmíněným zápisem: x &lt; 0.5 ? 0 : 1</translation>
    </message>
    <message>
        <source>&lt;p&gt;Formulas are expressions in the variable &lt;b&gt;x&lt;/b&gt;, parsed with the muParser library. The decimal point is &apos;.&apos;, arguments are separated by &apos;,&apos;; a formula must have exactly one result, so &quot;1,5&quot; is refused.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Vzorce jsou výrazy v proměnné &lt;b&gt;x&lt;/b&gt;, které čte knihovna muParser. Desetinným oddělovačem je &apos;.&apos;, argumenty se oddělují &apos;,&apos;; vzorec musí mít právě jeden výsledek, proto se „1,5“ odmítne.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Built-in functions</source>
        <translation>Vestavěné funkce</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Funkce</translation>
    </message>
    <message>
        <source>Arguments</source>
        <translation>Argumenty</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>Význam</translation>
    </message>
    <message>
        <source>Binary operators</source>
        <translation>Binární operátory</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>Operátor</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>Priorita</translation>
    </message>
    <message>
        <source>&lt;p&gt;A leading minus binds less tightly than ^: -2^2 = -4.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Úvodní minus váže slaběji než ^: -2^2 = -4.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;Constants: &lt;b&gt;_pi&lt;/b&gt; and &lt;b&gt;_e&lt;/b&gt;, to full double precision.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Konstanty: &lt;b&gt;_pi&lt;/b&gt; a &lt;b&gt;_e&lt;/b&gt;, v plné dvojité přesnosti.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Other operators</source>
        <translation>Další operátory</translation>
    </message>
</context>
<context>
    <name>FormulaBuilderWidget</name>
    <message>
        <source>Formula builder</source>
        <translation>Editor vzorců</translation>
    </message>
    <message>
        <source>The named formulas; double-click a name to rename it</source>
        <translation>Pojmenované vzorce; dvojitým kliknutím na název jej přejmenujete</translation>
    </message>
    <message>
        <source>The expression of the selected formula, in the variable x</source>
        <translation>Výraz zvoleného vzorce v proměnné x</translation>
    </message>
    <message>
        <source>Preview graph</source>
        <translation>Náhled grafu</translation>
    </message>
    <message>
        <source>Low:</source>
        <translation>Dolní mez:</translation>
    </message>
    <message>
        <source>Lower end of the preview</source>
        <translation>Dolní konec náhledu</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Horní mez</translation>
    </message>
    <message>
        <source>Upper end of the preview</source>
        <translation>Horní konec náhledu</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nový</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Smazat</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Chyba</translation>
    </message>
    <message>
        <source>The formula &quot;%1&quot; is not valid: %2
Correct it, or press Cancel to keep the formula as it was.</source>
        <translation>Vzorec „%1“ není platný: %2
Opravte jej, nebo stiskněte Zrušit a vzorec zůstane, jak byl.</translation>
    </message>
    <message>
        <source>Ignoring %1 entries without a name or with a name used before.</source>
        <translation>Vynechává se záznamů bez názvu nebo s již použitým názvem: %1.</translation>
    </message>
    <message>
        <source>Not valid expressions, taken as 0 until corrected: %1</source>
        <translation>Neplatné výrazy, do opravy brané jako 0: %1</translation>
    </message>
    <message>
        <source>Formulas file</source>
        <translation>Soubor vzorců</translation>
    </message>
    <message>
        <source>The formulas could not be saved to &quot;%1&quot;.</source>
        <translation>Vzorce se nepodařilo uložit do „%1“.</translation>
    </message>
    <message>
        <source>Item already exists: </source>
        <translation>Položka už existuje: </translation>
    </message>
    <message>
        <source>Two items cannot have same name: </source>
        <translation>Dvě položky nemohou mít stejný název: </translation>
    </message>
    <message>
        <source>item name</source>
        <translation>název položky</translation>
    </message>
    <message>
        <source>Closing</source>
        <translation>Zavírání</translation>
    </message>
    <message>
        <source>All changes made will be lost</source>
        <translation>Všechny provedené změny budou ztraceny</translation>
    </message>
    <message>
        <source>The selected formula between Low and High</source>
        <translation>Zvolený vzorec mezi dolní a horní mezí</translation>
    </message>
</context>
<context>
    <name>FtransformWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulář</translation>
    </message>
    <message>
        <source>Higher degree f-transform warning</source>
        <translation>Upozornění k F-transformaci vyššího stupně</translation>
    </message>
    <message>
        <source>Current implementation of higher degree supports only triangle fuzzy sets.</source>
        <translation>Současná implementace vyšších stupňů podporuje jen trojúhelníkové fuzzy množiny.</translation>
    </message>
</context>
<context>
    <name>FunctionSelectorWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulář</translation>
    </message>
    <message>
        <source>Adds a function selector</source>
        <translation>Přidá výběr funkce</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Přidat</translation>
    </message>
    <message>
        <source>Removes this function selector</source>
        <translation>Odebere tento výběr funkce</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
</context>
<context>
    <name>FunctionTableWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulář</translation>
    </message>
    <message>
        <source>Discards every edited component and computes the components again</source>
        <translation>Zahodí všechny upravené komponenty a spočítá komponenty znovu</translation>
    </message>
    <message>
        <source>Reset edited components</source>
        <translation>Obnovit upravené komponenty</translation>
    </message>
    <message>
        <source>Components of the direct F-transform; double-click a cell to overwrite it</source>
        <translation>Komponenty přímé F-transformace; dvojitým kliknutím na buňku ji přepíšete</translation>
    </message>
    <message>
        <source>Undefined: the basic function covers too few points</source>
        <translation>Nedefinováno: bázová funkce pokrývá příliš málo bodů</translation>
    </message>
</context>
<context>
    <name>FuzzyPartDeltaWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulář</translation>
    </message>
    <message>
        <source>Shape</source>
        <translation>Tvar</translation>
    </message>
    <message>
        <source>The shape of every basic function</source>
        <translation>Tvar každé bázové funkce</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Trojúhelník</translation>
    </message>
    <message>
        <source>Sin</source>
        <translation>Sinus</translation>
    </message>
    <message>
        <source>Gaussian</source>
        <translation>Gaussova</translation>
    </message>
    <message>
        <source>Element width</source>
        <translation>Šířka prvku</translation>
    </message>
    <message>
        <source>The distance of the nodes, laid out from Low</source>
        <translation>Vzdálenost uzlů, rozmístěných od dolní meze</translation>
    </message>
    <message>
        <source>Variance</source>
        <translation>Rozptyl</translation>
    </message>
    <message>
        <source>Half-width of a triangle or sine, standard deviation of a Gaussian</source>
        <translation>Poloviční šířka trojúhelníku nebo sinu, směrodatná odchylka Gaussovy funkce</translation>
    </message>
</context>
<context>
    <name>FuzzyPartEquidWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulář</translation>
    </message>
    <message>
        <source>Shape</source>
        <translation>Tvar</translation>
    </message>
    <message>
        <source>The shape of every basic function</source>
        <translation>Tvar každé bázové funkce</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Trojúhelník</translation>
    </message>
    <message>
        <source>Sin</source>
        <translation>Sinus</translation>
    </message>
    <message>
        <source>Components</source>
        <translation>Komponenty</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Posun</translation>
    </message>
    <message>
        <source>The node the first basic function starts at, counted from 0; -1 gives a half basic function at the first node</source>
        <translation>Uzel, ve kterém začíná první bázová funkce, počítáno od 0; -1 dá polovinu bázové funkce v prvním uzlu</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Krok</translation>
    </message>
    <message>
        <source>Nodes from one basic function to the next</source>
        <translation>Počet uzlů od jedné bázové funkce k další</translation>
    </message>
    <message>
        <source>Min: %1, Max: %2</source>
        <translation>Min: %1, Max: %2</translation>
    </message>
</context>
<context>
    <name>FuzzyPartFixedWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulář</translation>
    </message>
    <message>
        <source>Shape</source>
        <translation>Tvar</translation>
    </message>
    <message>
        <source>The shape of every basic function</source>
        <translation>Tvar každé bázové funkce</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Trojúhelník</translation>
    </message>
    <message>
        <source>Sin</source>
        <translation>Sinus</translation>
    </message>
    <message>
        <source>Nodes Distance</source>
        <translation>Vzdálenost uzlů</translation>
    </message>
    <message>
        <source>Interval [-h, +h]</source>
        <translation>Interval [-h, +h]</translation>
    </message>
    <message>
        <source>Fixed point</source>
        <translation>Pevný bod</translation>
    </message>
    <message>
        <source>Moves the fixed point, one of the nodes, from Low to Low + 2h</source>
        <translation>Posouvá pevný bod, jeden z uzlů, od dolní meze po dolní mez + 2h</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Posun</translation>
    </message>
    <message>
        <source>The node the first basic function starts at, counted from 0; -1 gives a half basic function at the first node</source>
        <translation>Uzel, ve kterém začíná první bázová funkce, počítáno od 0; -1 dá polovinu bázové funkce v prvním uzlu</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Krok</translation>
    </message>
    <message>
        <source>Nodes from one basic function to the next</source>
        <translation>Počet uzlů od jedné bázové funkce k další</translation>
    </message>
</context>
<context>
    <name>GuideBrowser</name>
    <message>
        <source>Quelmora user guide</source>
        <translation>Uživatelská příručka Quelmora</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zpět</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vpřed</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Obsah</translation>
    </message>
    <message>
        <source>Find in page</source>
        <translation>Hledat na stránce</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zavřít</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Předchozí</translation>
    </message>
    <message>
        <source>The match before (Shift+F3)</source>
        <translation>Předchozí výskyt (Shift+F3)</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Další</translation>
    </message>
    <message>
        <source>The next match (Enter, F3)</source>
        <translation>Další výskyt (Enter, F3)</translation>
    </message>
    <message>
        <source>Hides the search (Esc)</source>
        <translation>Skryje hledání (Esc)</translation>
    </message>
    <message>
        <source>Find:</source>
        <translation>Hledat:</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nenalezeno</translation>
    </message>
    <message>
        <source>Guide page</source>
        <translation>Stránka příručky</translation>
    </message>
    <message>
        <source>The page of the guide</source>
        <translation>Stránka příručky</translation>
    </message>
    <message>
        <source>The chapters and sections of the guide</source>
        <translation>Kapitoly a oddíly příručky</translation>
    </message>
</context>
<context>
    <name>LineStyleSelector</name>
    <message>
        <source>LineStyle</source>
        <translation>Styl čáry</translation>
    </message>
    <message>
        <source>Caption</source>
        <translation>Popisek</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Šířka</translation>
    </message>
    <message>
        <source>Line width in pixels</source>
        <translation>Šířka čáry v pixelech</translation>
    </message>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source>Colour of %1</source>
        <translation>Barva: %1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Quelmora</source>
        <translation>Quelmora</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Soubor</translation>
    </message>
    <message>
        <source>&amp;Recent session</source>
        <translation>&amp;Nedávné relace</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>Ú&amp;pravy</translation>
    </message>
    <message>
        <source>&amp;Partition</source>
        <translation>&amp;Rozklad</translation>
    </message>
    <message>
        <source>P&amp;lot</source>
        <translation>&amp;Graf</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Okno</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Nápověda</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Volby</translation>
    </message>
    <message>
        <source>Domain</source>
        <translation>Definiční obor</translation>
    </message>
    <message>
        <source>Applies the value typed in a domain field; every change is computed as soon as it applies</source>
        <translation>Použije hodnotu napsanou do pole definičního oboru; každá změna se spočítá, jakmile platí</translation>
    </message>
    <message>
        <source>Compute</source>
        <translation>Spočítat</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zvětšení</translation>
    </message>
    <message>
        <source>Select function</source>
        <translation>Výběr funkce</translation>
    </message>
    <message>
        <source>F-Transform</source>
        <translation>F-transformace</translation>
    </message>
    <message>
        <source>The highest degree of the F-transform that is computed, 0 to 3</source>
        <translation>Nejvyšší počítaný stupeň F-transformace, 0 až 3</translation>
    </message>
    <message>
        <source>Degree: </source>
        <translation>Stupeň: </translation>
    </message>
    <message>
        <source>Draws the inverse F-transform of degree 0</source>
        <translation>Kreslí inverzní F-transformaci stupně 0</translation>
    </message>
    <message>
        <source>show Ft-0</source>
        <translation>zobrazit Ft-0</translation>
    </message>
    <message>
        <source>Draws the inverse F-transform of degree 1</source>
        <translation>Kreslí inverzní F-transformaci stupně 1</translation>
    </message>
    <message>
        <source>show Ft-1</source>
        <translation>zobrazit Ft-1</translation>
    </message>
    <message>
        <source>Draws the inverse F-transform of degree 2</source>
        <translation>Kreslí inverzní F-transformaci stupně 2</translation>
    </message>
    <message>
        <source>show Ft-2</source>
        <translation>zobrazit Ft-2</translation>
    </message>
    <message>
        <source>Draws the inverse F-transform of degree 3</source>
        <translation>Kreslí inverzní F-transformaci stupně 3</translation>
    </message>
    <message>
        <source>show Ft-3</source>
        <translation>zobrazit Ft-3</translation>
    </message>
    <message>
        <source>Higher-degree bases:</source>
        <translation>Báze vyšších stupňů:</translation>
    </message>
    <message>
        <source>The polynomials the components of degrees 1 to 3 are taken against</source>
        <translation>Polynomy, vůči kterým se počítají komponenty stupňů 1 až 3</translation>
    </message>
    <message>
        <source>orthogonal on the points</source>
        <translation>ortogonální na bodech</translation>
    </message>
    <message>
        <source>closed forms t, t²−C₂, t³−C₃t</source>
        <translation>uzavřené tvary t, t²−C₂, t³−C₃t</translation>
    </message>
    <message>
        <source>Component Table</source>
        <translation>Tabulka komponent</translation>
    </message>
    <message>
        <source>&amp;Open session</source>
        <translation>&amp;Otevřít relaci</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>&amp;Save session</source>
        <translation>&amp;Uložit relaci</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Save as &amp;new session</source>
        <translation>Uložit jako no&amp;vou relaci</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>Open &amp;data</source>
        <translation>Otevřít &amp;data</translation>
    </message>
    <message>
        <source>Ctrl+D</source>
        <translation>Ctrl+D</translation>
    </message>
    <message>
        <source>&amp;Close data</source>
        <translation>&amp;Zavřít data</translation>
    </message>
    <message>
        <source>Values</source>
        <translation>Hodnoty</translation>
    </message>
    <message>
        <source>Plot as picture</source>
        <translation>Graf jako obrázek</translation>
    </message>
    <message>
        <source>Plot as figure...</source>
        <translation>Graf jako ilustrace...</translation>
    </message>
    <message>
        <source>The plot with its axes and legend as a PNG, SVG or PDF figure</source>
        <translation>Graf s osami a legendou jako ilustrace PNG, SVG nebo PDF</translation>
    </message>
    <message>
        <source>Copy plot</source>
        <translation>Kopírovat graf</translation>
    </message>
    <message>
        <source>Copy table</source>
        <translation>Kopírovat tabulku</translation>
    </message>
    <message>
        <source>The whole component table, header included, as text for a spreadsheet (shown with the component table; Ctrl+C inside the table copies the selection)</source>
        <translation>Celá tabulka komponent včetně záhlaví jako text pro tabulkový procesor (dostupné se zobrazenou tabulkou komponent; Ctrl+C v tabulce zkopíruje výběr)</translation>
    </message>
    <message>
        <source>Ctrl+Shift+C</source>
        <translation>Ctrl+Shift+C</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Konec</translation>
    </message>
    <message>
        <source>Formula &amp;builder</source>
        <translation>&amp;Editor vzorců</translation>
    </message>
    <message>
        <source>Ctrl+F</source>
        <translation>Ctrl+F</translation>
    </message>
    <message>
        <source>&amp;Preferences</source>
        <translation>&amp;Předvolby</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>&amp;Generic (Ruspini)</source>
        <translation>&amp;Obecný (Ruspiniho)</translation>
    </message>
    <message>
        <source>&amp;Equidistant (Ruspini)</source>
        <translation>&amp;Ekvidistantní (Ruspiniho)</translation>
    </message>
    <message>
        <source>&amp;Custom</source>
        <translation>&amp;Vlastní</translation>
    </message>
    <message>
        <source>&amp;Show legend</source>
        <translation>&amp;Zobrazit legendu</translation>
    </message>
    <message>
        <source>Legend top left</source>
        <translation>Legenda vlevo nahoře</translation>
    </message>
    <message>
        <source>Legend top right</source>
        <translation>Legenda vpravo nahoře</translation>
    </message>
    <message>
        <source>Legend bottom left</source>
        <translation>Legenda vlevo dole</translation>
    </message>
    <message>
        <source>Legend bottom right</source>
        <translation>Legenda vpravo dole</translation>
    </message>
    <message>
        <source>Show &amp;options</source>
        <translation>Zobrazit &amp;volby</translation>
    </message>
    <message>
        <source>Show &amp;component table</source>
        <translation>Zobrazit &amp;tabulku komponent</translation>
    </message>
    <message>
        <source>&amp;User guide</source>
        <translation>&amp;Uživatelská příručka</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;O programu</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Výchozí</translation>
    </message>
    <message>
        <source>The partition is not computed: %1.</source>
        <translation>Rozklad se nepočítá: %1.</translation>
    </message>
    <message>
        <source>Rando&amp;m data</source>
        <translation>Ná&amp;hodná data</translation>
    </message>
    <message>
        <source>the value of %1 %2</source>
        <translation>hodnota %1 %2</translation>
    </message>
    <message>
        <source>Session &quot;%1&quot; was not opened: %2.</source>
        <translation>Relace „%1“ nebyla otevřena: %2.</translation>
    </message>
    <message>
        <source>Draws the curves on more points, for a closer look</source>
        <translation>Kreslí křivky na více bodech pro bližší pohled</translation>
    </message>
    <message>
        <source>Plot of the functions and their F-transforms</source>
        <translation>Graf funkcí a jejich F-transformací</translation>
    </message>
    <message>
        <source>The functions, their inverse F-transforms of the shown degrees and, when chosen, the components and the error curves</source>
        <translation>Funkce, jejich inverzní F-transformace zobrazených stupňů a podle volby komponenty a křivky chyb</translation>
    </message>
</context>
<context>
    <name>NodeEditors</name>
    <message>
        <source>Node Editor</source>
        <translation>Editor uzlů</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>Node positions: type a number strictly between the neighbouring nodes and press Enter; Alt+Insert adds a node after this one, Alt+Delete removes this one</source>
        <translation>Polohy uzlů: napište číslo ostře mezi sousedními uzly a stiskněte Enter; Alt+Insert přidá uzel za tento, Alt+Delete tento uzel odebere</translation>
    </message>
</context>
<context>
    <name>NumberReaderBase</name>
    <message>
        <source>no file name is given</source>
        <translation>není zadán název souboru</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>soubor neexistuje</translation>
    </message>
    <message>
        <source>it is a directory</source>
        <translation>je to složka</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>není to běžný soubor</translation>
    </message>
    <message>
        <source>it looks like UTF-16 text without a byte-order mark; save it as UTF-8, or as UTF-16 with a byte-order mark</source>
        <translation>vypadá jako text v UTF-16 bez značky pořadí bajtů; uložte jej jako UTF-8, nebo jako UTF-16 se značkou pořadí bajtů</translation>
    </message>
    <message>
        <source>a line holds more than %1 fields</source>
        <translation>řádek obsahuje více než %1 polí</translation>
    </message>
    <message>
        <source>the file holds more than %1 numbers</source>
        <translation>soubor obsahuje více než %1 čísel</translation>
    </message>
</context>
<context>
    <name>PartitionEditor</name>
    <message>
        <source>Partition Editor</source>
        <translation>Editor rozkladu</translation>
    </message>
</context>
<context>
    <name>PartitionWidgetBase</name>
    <message>
        <source>Form</source>
        <translation>Formulář</translation>
    </message>
    <message>
        <source>Partition: click a node to select it; the nodes follow the inputs above.</source>
        <translation>Rozklad: kliknutím na uzel jej vyberete; uzly se řídí vstupy výše.</translation>
    </message>
    <message>
        <source>Partition: drag a node to move it; Ctrl+click in the lower third adds a node; Ctrl+right-click near a node removes it.</source>
        <translation>Rozklad: tažením uzel posunete; Ctrl+klik v dolní třetině přidá uzel; Ctrl+klik pravým tlačítkem u uzlu jej odebere.</translation>
    </message>
    <message>
        <source>Partition: drag a node to move it.</source>
        <translation>Rozklad: tažením uzel posunete.</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Trojúhelník</translation>
    </message>
    <message>
        <source>Sin</source>
        <translation>Sinus</translation>
    </message>
    <message>
        <source>Gaussian</source>
        <translation>Gaussova</translation>
    </message>
    <message>
        <source>Trapezoid</source>
        <translation>Lichoběžník</translation>
    </message>
    <message>
        <source>Partition</source>
        <translation>Rozklad</translation>
    </message>
</context>
<context>
    <name>PlotWidget</name>
    <message>
        <source>PlotWidget</source>
        <translation>Graf</translation>
    </message>
</context>
<context>
    <name>PreferencesWidget</name>
    <message>
        <source>Preferences</source>
        <translation>Předvolby</translation>
    </message>
    <message>
        <source>The pages of the preferences</source>
        <translation>Stránky předvoleb</translation>
    </message>
    <message>
        <source>Colors</source>
        <translation>Barvy</translation>
    </message>
    <message>
        <source>Config</source>
        <translation>Nastavení</translation>
    </message>
    <message>
        <source>Global</source>
        <translation>Obecné</translation>
    </message>
    <message>
        <source>Fit nodes to domain</source>
        <translation>Přizpůsobit uzly definičnímu oboru</translation>
    </message>
    <message>
        <source>Draws the grid in the main plot</source>
        <translation>Kreslí mřížku v hlavním grafu</translation>
    </message>
    <message>
        <source>Show grid in plot</source>
        <translation>Zobrazit mřížku v grafu</translation>
    </message>
    <message>
        <source>Draws the components of the shown degrees as curves over the nodes</source>
        <translation>Kreslí komponenty zobrazených stupňů jako křivky nad uzly</translation>
    </message>
    <message>
        <source>Show components</source>
        <translation>Zobrazit komponenty</translation>
    </message>
    <message>
        <source>Maximum zoom level</source>
        <translation>Největší zvětšení</translation>
    </message>
    <message>
        <source>A zoom above 4 slows the inverse transform down: the partition and the inverse transforms are painted with the number of pixels of the window multiplied by the zoom, computed in integers as zoomMultiplier = qMax(1, zoom / 4) and discretization = qMax(300, ((zoomMultiplier * widget_width / 100) + 1) * 100).</source>
        <translation>Zvětšení nad 4 zpomaluje inverzní transformaci: rozklad a inverzní transformace se kreslí s počtem pixelů okna násobeným zvětšením, počítaným v celých číslech jako zoomMultiplier = qMax(1, zoom / 4) a discretization = qMax(300, ((zoomMultiplier * widget_width / 100) + 1) * 100).</translation>
    </message>
    <message>
        <source>Legend Icon size (width / height)</source>
        <translation>Velikost ikony v legendě (šířka / výška)</translation>
    </message>
    <message>
        <source>Width of the line sample beside each name in the legend, in pixels</source>
        <translation>Šířka ukázky čáry vedle každého názvu v legendě, v pixelech</translation>
    </message>
    <message>
        <source>Height of the line sample beside each name in the legend, in pixels</source>
        <translation>Výška ukázky čáry vedle každého názvu v legendě, v pixelech</translation>
    </message>
    <message>
        <source>Draw the error f(x) - F(x) of every shown degree on the plot, against a right-hand axis, with a marker where it is largest</source>
        <translation>Kreslí chybu f(x) - F(x) každého zobrazeného stupně do grafu vůči pravé ose, se značkou v místě, kde je největší</translation>
    </message>
    <message>
        <source>Show error curves</source>
        <translation>Zobrazit křivky chyb</translation>
    </message>
    <message>
        <source>Component table precision</source>
        <translation>Přesnost tabulky komponent</translation>
    </message>
    <message>
        <source>Significant digits of the largest component of each column; the table never shows fewer than three decimals</source>
        <translation>Platné číslice největší komponenty každého sloupce; tabulka nikdy neukazuje méně než tři desetinná místa</translation>
    </message>
    <message>
        <source> digits</source>
        <translation> číslic</translation>
    </message>
    <message>
        <source>Stored formulas location:</source>
        <translation>Umístění uložených vzorců:</translation>
    </message>
    <message>
        <source>If it&apos;s empty the default location is executable file location</source>
        <translation>Je-li prázdné, použije se výchozí umístění u spustitelného souboru</translation>
    </message>
    <message>
        <source>Chooses the folder of the formulas file</source>
        <translation>Zvolí složku souboru vzorců</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Zvolit</translation>
    </message>
    <message>
        <source>Empties the field: the formulas file goes to the program&apos;s default place</source>
        <translation>Vyprázdní pole: soubor vzorců se uloží na výchozí místo programu</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Výchozí</translation>
    </message>
    <message>
        <source>Maximum recent sessions:</source>
        <translation>Nejvíce nedávných relací:</translation>
    </message>
    <message>
        <source>How many sessions File &gt; Recent session lists</source>
        <translation>Kolik relací nabídne Soubor &gt; Nedávné relace</translation>
    </message>
    <message>
        <source>Save session on exit:</source>
        <translation>Uložit relaci při ukončení:</translation>
    </message>
    <message>
        <source>Saves nothing on exit and asks about unsaved changes</source>
        <translation>Při ukončení nic neukládá a ptá se na neuložené změny</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Žádná</translation>
    </message>
    <message>
        <source>Saves default.qms on exit and asks about other sessions</source>
        <translation>Při ukončení uloží default.qms a na ostatní relace se ptá</translation>
    </message>
    <message>
        <source>default.qms only</source>
        <translation>jen default.qms</translation>
    </message>
    <message>
        <source>Saves the session in use on exit</source>
        <translation>Při ukončení uloží používanou relaci</translation>
    </message>
    <message>
        <source>All sessions</source>
        <translation>Všechny relace</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Pozadí</translation>
    </message>
    <message>
        <source>Original function</source>
        <translation>Původní funkce</translation>
    </message>
    <message>
        <source>Transformed function Ft0</source>
        <translation>Transformovaná funkce Ft0</translation>
    </message>
    <message>
        <source>Transformed function Ft1</source>
        <translation>Transformovaná funkce Ft1</translation>
    </message>
    <message>
        <source>Transformed function Ft2</source>
        <translation>Transformovaná funkce Ft2</translation>
    </message>
    <message>
        <source>Transformed function Ft3</source>
        <translation>Transformovaná funkce Ft3</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Chyba</translation>
    </message>
    <message>
        <source>The preferences could not be saved to &quot;%1&quot;.</source>
        <translation>Předvolby se nepodařilo uložit do „%1“.</translation>
    </message>
    <message>
        <source>Cap</source>
        <translation>Složka souboru vzorců</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>triangles</source>
        <translation>trojúhelníky</translation>
    </message>
    <message>
        <source>sines</source>
        <translation>siny</translation>
    </message>
    <message>
        <source>Gaussians</source>
        <translation>Gaussovy funkce</translation>
    </message>
    <message>
        <source>Direct fuzzy transform was not calculated</source>
        <translation>Přímá F-transformace nebyla spočítána</translation>
    </message>
    <message>
        <source>Inverse fuzzy transform was not calculated</source>
        <translation>Inverzní F-transformace nebyla spočítána</translation>
    </message>
    <message>
        <source>Nothing was written to &quot;%1&quot;: %2.</source>
        <translation>Do „%1“ se nic nezapsalo: %2.</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: &quot;%2&quot; is not a known image format.</source>
        <translation>„%1“ nelze zapsat: „%2“ není známý formát obrázku.</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: the picture could not be created at this size.</source>
        <translation>„%1“ nelze zapsat: obrázek v této velikosti nešlo vytvořit.</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: it is a directory</source>
        <translation>„%1“ nelze zapsat: je to složka</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation>„%1“ nelze zapsat: %2</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Chyba</translation>
    </message>
    <message>
        <source>the picture would have no pixels</source>
        <translation>obrázek by neměl žádné pixely</translation>
    </message>
    <message>
        <source>%1 x %2 pixels is more than a PNG figure may have (%3 a side, %4 million in all)</source>
        <translation>%1 × %2 pixelů je víc, než může mít obrázek PNG (%3 na stranu, celkem %4 milionů)</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: a figure is a .png, .svg or .pdf file.</source>
        <translation>„%1“ nelze zapsat: ilustrace je soubor .png, .svg nebo .pdf.</translation>
    </message>
    <message>
        <source>there is not enough memory for it</source>
        <translation>není na něj dost paměti</translation>
    </message>
    <message>
        <source>Discretization must be between %1 and %2.</source>
        <translation>Diskretizace musí být mezi %1 a %2.</translation>
    </message>
    <message>
        <source>a custom partition of about %1 basic functions is more than %2</source>
        <translation>vlastní rozklad o asi %1 bázových funkcích přesahuje %2</translation>
    </message>
    <message>
        <source>about %1 values (%2 basic functions over %3 points) are more than memory allows; a smaller variance, a larger element width or a coarser domain helps</source>
        <translation>asi %1 hodnot (%2 bázových funkcí na %3 bodech) je víc, než dovolí paměť; pomůže menší rozptyl, větší šířka prvku nebo hrubší definiční obor</translation>
    </message>
    <message>
        <source>the domain is not valid</source>
        <translation>definiční obor není platný</translation>
    </message>
    <message>
        <source>at least two nodes are needed</source>
        <translation>jsou potřeba alespoň dva uzly</translation>
    </message>
    <message>
        <source>too many nodes</source>
        <translation>příliš mnoho uzlů</translation>
    </message>
    <message>
        <source>node %1 is not a finite number</source>
        <translation>uzel %1 není konečné číslo</translation>
    </message>
    <message>
        <source>nodes are not in ascending order</source>
        <translation>uzly nejsou vzestupně seřazené</translation>
    </message>
    <message>
        <source>nodes lie outside the domain [%1, %2]</source>
        <translation>uzly leží mimo definiční obor [%1, %2]</translation>
    </message>
    <message>
        <source>Studies the fuzzy transform (F-transform) of functions of one variable.
FILE is a session (.qms) to open, or a data file (.csv, .txt) to open as data.</source>
        <translation>Studuje fuzzy transformaci (F-transformaci) funkcí jedné proměnné.
FILE je relace (.qms) k otevření nebo datový soubor (.csv, .txt) k otevření jako data.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Vypíše informace o verzi.</translation>
    </message>
    <message>
        <source>Session or data file to open.</source>
        <translation>Relace nebo datový soubor k otevření.</translation>
    </message>
    <message>
        <source> (see --help)</source>
        <translation> (viz --help)</translation>
    </message>
    <message>
        <source>give at most one file, got %1 (see --help)</source>
        <translation>zadejte nejvýše jeden soubor, zadáno %1 (viz --help)</translation>
    </message>
    <message>
        <source>cannot open &quot;%1&quot;: it is a directory</source>
        <translation>„%1“ nelze otevřít: je to složka</translation>
    </message>
    <message>
        <source>cannot open &quot;%1&quot;: %2</source>
        <translation>„%1“ nelze otevřít: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither a session (.qms) nor a data file (.csv, .txt)</source>
        <translation>„%1“ není relace (.qms) ani datový soubor (.csv, .txt)</translation>
    </message>
    <message>
        <source>no program is reading from it</source>
        <translation>žádný program z něj nečte</translation>
    </message>
    <message>
        <source>no file name given</source>
        <translation>není zadán název souboru</translation>
    </message>
    <message>
        <source>it is a directory</source>
        <translation>je to složka</translation>
    </message>
    <message>
        <source>an empty entry in the list of counts</source>
        <translation>prázdná položka v seznamu počtů</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a whole number</source>
        <translation>„%1“ není celé číslo</translation>
    </message>
    <message>
        <source>%1 is below 2 components</source>
        <translation>%1 je méně než 2 komponenty</translation>
    </message>
    <message>
        <source>%1 is above the domain&apos;s %2 subintervals</source>
        <translation>%1 převyšuje %2 podintervalů definičního oboru</translation>
    </message>
    <message>
        <source>the counts must be ascending: %1 follows %2</source>
        <translation>počty musí být vzestupné: %1 následuje po %2</translation>
    </message>
    <message>
        <source>%1 points per basic function are not between %2 and %3</source>
        <translation>%1 bodů na bázovou funkci není mezi %2 a %3</translation>
    </message>
    <message>
        <source>function %1 has no formula to evaluate on a finer discretisation (data, or random numbers)</source>
        <translation>funkce %1 nemá vzorec, který by šlo vyhodnotit na jemnější diskretizaci (data nebo náhodná čísla)</translation>
    </message>
    <message>
        <source>only a domain cut into equal parts can be refined</source>
        <translation>zjemnit lze jen definiční obor rozdělený na stejné díly</translation>
    </message>
    <message>
        <source>function %1: %2</source>
        <translation>funkce %1: %2</translation>
    </message>
    <message>
        <source>%1 components do not fit the domain&apos;s %2 subintervals</source>
        <translation>%1 komponent se nevejde do %2 podintervalů definičního oboru</translation>
    </message>
    <message>
        <source>%1 components are too many basic functions to hold</source>
        <translation>%1 komponent je příliš mnoho bázových funkcí na uložení</translation>
    </message>
    <message>
        <source>%1 components cannot be laid out on this domain</source>
        <translation>%1 komponent nelze na tomto definičním oboru rozmístit</translation>
    </message>
    <message>
        <source>%1 components give no partition that can be transformed</source>
        <translation>%1 komponent nedává rozklad, který lze transformovat</translation>
    </message>
    <message>
        <source>the custom layout of %1 nodes gives %2 basic functions</source>
        <translation>vlastní rozmístění %1 uzlů dává %2 bázových funkcí</translation>
    </message>
    <message>
        <source>function %1 has %2 values for %3 points</source>
        <translation>funkce %1 má %2 hodnot pro %3 bodů</translation>
    </message>
</context>
<context>
    <name>SessionController</name>
    <message>
        <source>Error when saving settings</source>
        <translation>Chyba při ukládání nastavení</translation>
    </message>
    <message>
        <source>The settings could not be written to &quot;%1&quot;.</source>
        <translation>Nastavení se nepodařilo zapsat do „%1“.</translation>
    </message>
    <message>
        <source>Partition</source>
        <translation>Rozklad</translation>
    </message>
    <message>
        <source>Error when saving session</source>
        <translation>Chyba při ukládání relace</translation>
    </message>
    <message>
        <source>Session could not be saved, invalid input values: %1.</source>
        <translation>Relaci nelze uložit, neplatné vstupní hodnoty: %1.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Chyba</translation>
    </message>
    <message>
        <source>Cannot write to target location.</source>
        <translation>Do cílového umístění nelze zapisovat.</translation>
    </message>
    <message>
        <source>Session could not be saved to &quot;%1&quot;: the file cannot be written.</source>
        <translation>Relaci nelze uložit do „%1“: do souboru nelze zapisovat.</translation>
    </message>
    <message>
        <source>Session &quot;%1&quot; was not saved: the inputs would give a session that cannot be opened (%2).
The file keeps its last saved state.</source>
        <translation>Relace „%1“ nebyla uložena: ze vstupů by vznikla relace, kterou nelze otevřít (%2).
Soubor si ponechá naposledy uložený stav.</translation>
    </message>
    <message>
        <source>Save session</source>
        <translation>Uložit relaci</translation>
    </message>
    <message>
        <source>a new session</source>
        <translation>nové relaci</translation>
    </message>
    <message>
        <source>Open session</source>
        <translation>Otevřít relaci</translation>
    </message>
    <message>
        <source>Error when opening session</source>
        <translation>Chyba při otevírání relace</translation>
    </message>
    <message>
        <source>
The current work is kept.</source>
        <translation>
Současná práce zůstává zachována.</translation>
    </message>
</context>
<context>
    <name>SessionLookup</name>
    <message>
        <source>%1 selects entry %2 of a list of %3 formulas</source>
        <translation>%1 vybírá položku %2 ze seznamu %3 vzorců</translation>
    </message>
    <message>
        <source>%1 selects the formula &quot;%2&quot;, whose expression is not valid</source>
        <translation>%1 vybírá vzorec „%2“, jehož výraz není platný</translation>
    </message>
    <message>
        <source>%1 (session)</source>
        <translation>%1 (relace)</translation>
    </message>
    <message>
        <source>%1 (session %2)</source>
        <translation>%1 (relace %2)</translation>
    </message>
</context>
<context>
    <name>SessionReader</name>
    <message>
        <source>the data file of MainWindow/dataFile (&quot;%1&quot;) could not be read</source>
        <translation>datový soubor z MainWindow/dataFile („%1“) nešlo přečíst</translation>
    </message>
    <message>
        <source>%1 in the formulas file &quot;%2&quot;</source>
        <translation>%1 v souboru vzorců „%2“</translation>
    </message>
    <message>
        <source>the session names it only by its place in a formulas file (FunctionSelector/comboBox%1_currentIndex), and there is no formulas file &quot;%2&quot;</source>
        <translation>relace jej určuje jen pořadím v souboru vzorců (FunctionSelector/comboBox%1_currentIndex) a soubor vzorců „%2“ neexistuje</translation>
    </message>
    <message>
        <source>the formula of function selector %1 of the session &quot;%2&quot; cannot be found: %3</source>
        <translation>vzorec výběru funkce %1 relace „%2“ nelze najít: %3</translation>
    </message>
</context>
<context>
    <name>SessionValidator</name>
    <message>
        <source>is not an integer</source>
        <translation>není celé číslo</translation>
    </message>
    <message>
        <source>is outside %1..%2</source>
        <translation>leží mimo %1..%2</translation>
    </message>
    <message>
        <source>is not a finite number</source>
        <translation>není konečné číslo</translation>
    </message>
    <message>
        <source>it is a directory</source>
        <translation>je to složka</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>není to běžný soubor</translation>
    </message>
    <message>
        <source>it is larger than %1 MB</source>
        <translation>je větší než %1 MB</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>nelze jej přečíst</translation>
    </message>
    <message>
        <source>it is a binary file, not a session</source>
        <translation>je to binární soubor, ne relace</translation>
    </message>
    <message>
        <source>it is not a readable settings file</source>
        <translation>není to čitelný soubor nastavení</translation>
    </message>
    <message>
        <source>does not give an interval with low &lt; high</source>
        <translation>nedává interval s dolní &lt; horní</translation>
    </message>
    <message>
        <source>lies outside the domain %1..%2</source>
        <translation>leží mimo definiční obor %1..%2</translation>
    </message>
    <message>
        <source>is smaller than the node before it</source>
        <translation>je menší než uzel před ním</translation>
    </message>
    <message>
        <source>gives fewer than two different nodes</source>
        <translation>dává méně než dva různé uzly</translation>
    </message>
    <message>
        <source>names a file that does not exist</source>
        <translation>odkazuje na soubor, který neexistuje</translation>
    </message>
    <message>
        <source>names a directory</source>
        <translation>odkazuje na složku</translation>
    </message>
    <message>
        <source>names a device or other special file</source>
        <translation>odkazuje na zařízení nebo jiný zvláštní soubor</translation>
    </message>
    <message>
        <source>names a file that is neither .csv nor .txt</source>
        <translation>odkazuje na soubor, který není .csv ani .txt</translation>
    </message>
    <message>
        <source>names a file that cannot be read</source>
        <translation>odkazuje na soubor, který nelze přečíst</translation>
    </message>
    <message>
        <source>names a binary file</source>
        <translation>odkazuje na binární soubor</translation>
    </message>
</context>
<context>
    <name>UnsavedWork</name>
    <message>
        <source>Unsaved changes</source>
        <translation>Neuložené změny</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>Uložit změny v %1?</translation>
    </message>
</context>
<context>
    <name>WidgetPersistence</name>
    <message>
        <source>Error</source>
        <translation>Chyba</translation>
    </message>
    <message>
        <source>Cannot write to target location.</source>
        <translation>Do cílového umístění nelze zapisovat.</translation>
    </message>
</context>
</TS>
